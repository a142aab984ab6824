#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;

// Keeps one Orvane per user. The first launch listens on a per-user local socket; a later launch hands the
// running one its arguments (a link, or nothing for a plain reopen) and exits.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Role {
        Primary,     // this process is the one instance and now listens
        Forwarded,   // another instance took the arguments; this process should exit
        Unanswered,  // another instance holds the name but did not confirm in time
        Refused,     // another instance took the connection and refused the message (too long)
        Unavailable  // no socket could be had at all; run on without the single-instance guard
    };

    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // "$XDG_RUNTIME_DIR/orvane.instance" when the runtime folder exists, else a name per user id in the
    // temporary folder.
    static QString defaultName();

    // Forwards `arguments` to a running instance, or becomes the instance. Blocks for at most `timeoutMs`
    // while talking to another process, so it is meant to run before the event loop starts.
    Role start(const QStringList& arguments, int timeoutMs = 3000);

    // After start() said Unanswered: waits for the busy instance on the connection that already carries the
    // arguments, so they are handed over once and never twice. Forwarded when it confirms, Refused when it
    // refuses them, Primary once its socket is gone (it crashed or quit) and this process has taken the
    // name, Unanswered when it still holds the socket silently after `patienceMs`. Blocks like start().
    Role awaitRunning(const QStringList& arguments, int patienceMs);

    // Whether a running instance confirms a message within `timeoutMs`; never listens and asks the instance
    // for nothing (an installer checks with it that a new build has started).
    bool ping(int timeoutMs = 2000);
    static QString pingArgument() { return QStringLiteral("--instance-ping"); }

    const QString& name() const { return name_; }

    // Largest message accepted from a later launch, a link with room to spare; a longer one is refused
    // unread, and a launch never sends one.
    static constexpr qsizetype maxMessageBytes = 8 * 1024;
    // Whether `arguments` fit in one message.
    static bool fits(const QStringList& arguments);

  signals:
    // In the instance: a later launch's arguments (empty for a plain reopen).
    void messageReceived(const QStringList& arguments);

  private:
    // Refused: the connection was refused; TooLong: the instance took the connection and refused the message.
    enum class Sent { Confirmed, TooLong, NoServer, Refused, Unanswered };
    enum class Answer { Confirmed, TooLong, None };
    Sent send(const QStringList& arguments, int timeoutMs);
    Answer awaitAnswer(int timeoutMs);
    // Forwarded, Refused, Unanswered or (having taken the name) Primary; nothing when the name could not be
    // had.
    std::optional<Role> settle(Sent sent);
    bool listen();
    void accept();
    void read(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
    // The connection of a message sent but not yet confirmed.
    std::unique_ptr<QLocalSocket> pending_;
};
