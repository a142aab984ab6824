#pragma once

#include <sys/types.h>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;

// Keeps one Orvane per user. The first launch listens on a local socket in a folder only its user owns; a
// later launch hands the running one its arguments (a link, or nothing for a plain reopen) and exits. Each
// side checks the user id at the other end: a process of another account is never handed a link, never
// believed and never heard.
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

    // `places` are socket paths, looked at in order for a running instance before it listens at the first
    // one it can have. A place whose folder exists but is not this user's alone (a real folder, owned by the
    // user, no access for anyone else) is passed over; a missing folder is created 0700 to listen in.
    explicit SingleInstance(QStringList places = defaultPlaces(), QObject* parent = nullptr);
    explicit SingleInstance(const QString& place, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "$XDG_RUNTIME_DIR/orvane.instance" when the runtime folder is the user's alone. Otherwise a folder of
    // the user's own in the temporary folder and, for when another account holds that name first, one in the
    // cache folder, whose socket is named after the host, as a home may be shared between computers.
    static QStringList defaultPlaces();

    // The name earlier builds listened at, when it is not one of defaultPlaces(): their install script asks
    // with the earlier build's own program whether the new build answers, at that name. Empty otherwise.
    static QString formerName();
    // Once this process is the instance: answers at `name` too while nobody else holds it, so that question
    // finds this clock. Another account's connections are dropped there as at the instance's own place.
    bool answerAlsoAt(const QString& name);

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

    // The token the desktop gave this launch to bring a window forward with; start() and awaitRunning() hand
    // it to a running instance with the arguments.
    void setActivationToken(const QByteArray& token) { activationToken_ = token; }

    // The account whose instance and launches this one trusts: the process's own. A test names another to
    // play the stranger at the other end.
    void trustOnly(uid_t account) { account_ = account; }

    // Largest message accepted from a later launch, a link with room to spare; a longer one is refused
    // unread, and a launch never sends one.
    static constexpr qsizetype maxMessageBytes = 8 * 1024;
    // Whether `arguments` fit in one message.
    static bool fits(const QStringList& arguments);

  signals:
    // In the instance: a later launch's arguments (empty for a plain reopen) and its activation token (empty
    // when it had none, or is an earlier build).
    void messageReceived(const QStringList& arguments, const QByteArray& activationToken);

  private:
    // Refused: the connection was refused; Stranger: another account listens; TooLong: the instance took the
    // connection and refused the message; NotPrivate: the place's folder is not the user's alone.
    enum class Sent { Confirmed, TooLong, NoServer, Refused, Stranger, NotPrivate, Unanswered };
    enum class Answer { Confirmed, TooLong, None };
    // The arguments as sent: with the activation token when there is one and it still fits.
    QStringList withActivationToken(const QStringList& arguments) const;
    Sent send(const QString& place, const QStringList& arguments, int timeoutMs);
    Answer awaitAnswer(int timeoutMs);
    // Forwarded, Refused or Unanswered from an instance at any place, else Primary once this process listens
    // at the first free place not tried yet; nothing when that could not be had.
    std::optional<Role> settle(const QStringList& arguments, int timeoutMs);
    bool listen(const QString& place);
    // A server at `name` whose connections reach accept(); nothing when the name cannot be had.
    QLocalServer* serve(const QString& name);
    void accept(QLocalServer& server);
    void read(QLocalSocket* socket);
    bool ofTrustedAccount(const QLocalSocket& socket) const;

    QStringList places_;
    // Places this launch failed to listen at; the next round passes them over if they are still free.
    QStringList tried_;
    uid_t account_;
    QByteArray activationToken_;
    QLocalServer* server_ = nullptr;
    QLocalServer* formerServer_ = nullptr;
    // The connection of a message sent but not yet confirmed.
    std::unique_ptr<QLocalSocket> pending_;
};
