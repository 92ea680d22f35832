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
    // arguments and workingFolder have been handed to it (ExitCode 0), or it did
    // not answer in time and the user was told (ExitCode 1). Needs the
    // application object.
    bool Claim(const QStringList &arguments, const QString &workingFolder);
    int ExitCode() const { return exitCode_; }

    // How the user is told that the running copy does not answer.
    MessageBoxFunction ShowMessage;

signals:
    // A later start on the same settings folder, with what it was started with.
    void ArgumentsReceived(const QStringList &arguments, const QString &workingFolder);

private:
    enum class HandOver { Delivered, NoOneListening };
    HandOver Deliver(const QStringList &arguments, const QString &workingFolder,
                     std::chrono::steady_clock::time_point deadline);
    void Listen();
    void AcceptStarts();
    void ReadStart(QLocalSocket *socket);

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
