#pragma once
// The program's command line: `reelbox [FILE|FOLDER|URL]...`, with --help and
// --version answered on the terminal. What is not an option is handed to the
// main window to open (Reelbox_S::OpenArguments).

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine
{
    enum class Action {
        Start,   // show the main window and open Files
        Help,    // print HelpText and end
        Version, // print VersionText and end
        Mistake, // print Mistake and end with status 2
    };
    Action action = Action::Start;
    QStringList Files;
    QString Mistake;
};

// Reads the arguments after the program's name. --help (-h) and --version
// (-v) win wherever they stand before "--"; any other argument that begins
// with "-" before "--" is a mistake; "--" makes every argument after it a file.
CommandLine ReadCommandLine(const QStringList &arguments);

QString HelpText();
// "reelbox " and the version.
QString VersionText(const QString &version);

// The arguments less the options Qt's application object takes for itself
// ("-platform offscreen", "--display=:1", "-reverse", ...), for telling a
// mistake before there is an application (and a display) to take them.
QStringList WithoutToolkitOptions(const QStringList &arguments);

// Answers what is to be answered on the terminal (help, version: on standard
// output; a mistake: on standard error) and returns the exit status (1 when
// the text could not be written, a full disk or a closed pipe); none for a start.
std::optional<int> AnswerOnTerminal(const CommandLine &line, const QString &version);

// The arguments after the program's name, as the system's encoding gives them.
QStringList ProgramArguments(int argc, char **argv);
