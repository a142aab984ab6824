#pragma once

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <memory>

class DesktopNotifications;

// On a desktop without a tray, a closed window leaves the clock running out of sight. The first close of a
// run says so once, in a notification that tells how to bring the window back or quit, and carries those
// two answers as actions.
class CloseNotice : public QObject {
    Q_OBJECT
  public:
    // Without a client it talks to the session bus's notification server.
    explicit CloseNotice(DesktopNotifications* client = nullptr, QObject* parent = nullptr);
    ~CloseNotice() override;

    // The window was closed; only the first call of the process posts.
    void windowClosed();
    bool posted() const { return asked_; }
    quint32 notificationId() const { return id_; }

    static QString summary() { return QStringLiteral("Orvane is still running"); }
    static QString body();
    static constexpr const char* quitAction = "quit";

  Q_SIGNALS:
    void openRequested();
    void quitRequested();

  private:
    QCoro::Task<> post();

    std::unique_ptr<DesktopNotifications> owned_;
    DesktopNotifications* client_;
    bool asked_ = false;
    quint32 id_ = 0;
};
