#include "app/command_line.h"

#include "base/file_names.h"
#include "base/program_name.h"

#include <cstdio>

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
    case CommandLine::Action::Help: std::fputs(qPrintable(HelpText()), stdout); return 0;
    case CommandLine::Action::Version: std::fputs(qPrintable(VersionText(version)), stdout); return 0;
    case CommandLine::Action::Mistake: std::fprintf(stderr, "%s\n", qPrintable(line.Mistake)); return 2;
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
