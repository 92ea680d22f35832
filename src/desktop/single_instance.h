#pragma once
// One running copy per settings folder. Two copies saving into one folder each
// write their own, older state over what the other saved; so a start on a
// folder that a running copy already keeps hands what it was started with (its
// arguments, and its working folder, against which relative paths resolve) to
// that copy, which comes to the front, and ends. Copies keeping their settings
// in different folders (two portable copies) run side by side.
//
// The copy that runs holds an exclusive lock (flock) on a file named after the
// folder in the user's runtime folder ($XDG_RUNTIME_DIR, else a private folder
// in the temporary folder), and listens on a local socket beside it. The kernel
// gives exactly one of two copies starting at once the lock, and releases it
// when its holder ends, killed or not: a lock or socket left by a killed copy
// never blocks the next start. No session bus is needed.
//
// The running copy answers each start as soon as its message is read: taken,
// or refused when it is no whole message (start_message.h). A start told
// nothing, or refused, says so and ends with exit code 1; the running copy
// goes on either way.

#include "widgets/message_box.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>

class QLocalServer;
class QLocalSocket;
class QWidget;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // For the copy keeping its settings in settingsFolder (which need not exist
    // yet). A later start waits up to patience for the running copy to answer.
    explicit SingleInstance(const QString &settingsFolder,
                            std::chrono::milliseconds patience = std::chrono::seconds(20), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is the one to run: it then takes the later starts
    // (ArgumentsReceived) from the event loop on. False when another copy runs:
    // arguments and workingFolder have been handed to it (ExitCode 0), or it
    // refused them (too many) or did not answer in time, and the user was told
    // (ExitCode 1). Needs the application object.
    bool Claim(const QStringList &arguments, const QString &workingFolder);
    int ExitCode() const { return exitCode_; }

    // How the user is told that the running copy did not take the start.
    MessageBoxFunction ShowMessage;

signals:
    // A later start on the same settings folder, with what it was started with.
    void ArgumentsReceived(const QStringList &arguments, const QString &workingFolder);

private:
    enum class HandOver { Taken, Refused, NoOneListening };
    HandOver Deliver(const QByteArray &message, std::chrono::steady_clock::time_point deadline);
    // Claim's end for a start that does not run: the exit code, the user told.
    bool Ended(HandOver handOver);
    void Listen();
    void AcceptStarts();
    // Answers the connection once what it brought (received, so far) is a
    // whole message or can never be one; a whole one is then emitted.
    void ReadStart(QLocalSocket &socket, QByteArray &received);

    QString lockPath_;
    QString socketPath_;
    std::chrono::milliseconds patience_;
    int lockFd_ = -1;
    int exitCode_ = 0;
    QLocalServer *server_ = nullptr;
};

// Brings the program to the user: window shown, not minimised, raised and
// activated; a modal window open over it (a player, a question) is raised and
// activated instead, as it is what takes the input.
void BringToFront(QWidget &window);
