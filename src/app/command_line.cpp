#include "app/command_line.h"

#include "base/file_names.h"
#include "base/program_name.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The options Qt's application object takes for itself (with one dash or
// two), by whether a value follows them.
const QStringList ToolkitOptionsWithValue = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowicon",
    "icon",
    "qwindowtitle",
    "title",
    "session",
    "display",
    "name",
    "style",
    "stylesheet",
    "visual",
};
const QStringList ToolkitFlags = {"reverse", "widgetcount", "sync", "nograb", "dograb", "testability"};

// The option's name without its dashes and any "=value"; empty for an argument that is no option.
QString OptionName(const QString &argument)
{
    if (!argument.startsWith(u'-') || argument == QLatin1String("-") || argument == QLatin1String("--"))
        return {};
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(u'=', 0, 0);
}

int Answer(std::FILE *stream, const QString &text, int status)
{
    std::fputs(qPrintable(text), stream);
    if (std::fflush(stream) == 0 && !std::ferror(stream))
        return status;
    std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramCommand), std::strerror(errno));
    return 1;
}

} // namespace

QStringList WithoutToolkitOptions(const QStringList &arguments)
{
    QStringList left;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--")) {
            left += arguments.mid(i);
            break;
        }
        const QString name = OptionName(arguments[i]);
        if (ToolkitOptionsWithValue.contains(name) && !arguments[i].contains(u'='))
            ++i; // its value
        else if (!ToolkitOptionsWithValue.contains(name) && !ToolkitFlags.contains(name))
            left.append(arguments[i]);
    }
    return left;
}

CommandLine ReadCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            return {CommandLine::Action::Help, {}, {}};
        } else if (options && (argument == QLatin1String("--version") || argument == QLatin1String("-v"))) {
            line.action = CommandLine::Action::Version;
        } else if (options && argument.startsWith(u'-') && argument != QLatin1String("-")) {
            if (line.action == CommandLine::Action::Start) {
                line.action = CommandLine::Action::Mistake;
                line.Mistake = QStringLiteral("%1: unknown option %2\nTry '%1 --help'.").arg(ProgramCommand, argument);
            }
        } else {
            line.Files.append(argument);
        }
    }
    return line;
}

QString HelpText()
{
    return QStringLiteral("Usage: %1 [OPTION]... [FILE|FOLDER|URL]...\n"
                          "A video player with a skinned Japanese window: a file browser, favourites in\n"
                          "twenty groups, and switches for full screen, repeat and random order.\n"
                          "\n"
                          "Started with files, it shows its main window, plays the files one after the\n"
                          "other and then gives the window back; a folder opens in its browser. Local\n"
                          "paths and file:// URLs only.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "  -v, --version  show the version and exit\n"
                          "  --             take every argument after it as a file\n"
                          "\n"
                          "Settings are kept in %2.ini beside the program, or in\n"
                          "~/.config/%1 where the program's folder cannot be written.\n")
        .arg(ProgramCommand, ProgramName);
}

QString VersionText(const QString &version)
{
    return ProgramCommand + u' ' + version + u'\n';
}

std::optional<int> AnswerOnTerminal(const CommandLine &line, const QString &version)
{
    switch (line.action) {
    case CommandLine::Action::Help: return Answer(stdout, HelpText(), 0);
    case CommandLine::Action::Version: return Answer(stdout, VersionText(version), 0);
    case CommandLine::Action::Mistake: return Answer(stderr, line.Mistake + u'\n', 2);
    case CommandLine::Action::Start: break;
    }
    return std::nullopt;
}

QStringList ProgramArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(DecodeFileName(argv[i])); // names as the file system holds them
    return arguments;
}
