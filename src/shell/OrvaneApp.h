#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QRect>
#include <QTimer>
#include <memory>

class AppSettings;
class CloseNotice;
class ClockViewModel;
class LiveLoadSteps;
class LocationManager;
class MacAppDelegate;
class OrvaneAutoUpdate;
class QMenu;
class QQmlApplicationEngine;
class QSystemTrayIcon;
class RootController;
class SingleInstance;

// The application: one settings object for the life of the process, the clock state, the one window
// "main" with the root view, the tray icon that keeps the clock reachable while the window is closed, and
// the links and reopen requests that later launches forward. A closed window is released with its QML
// engine, so a clock that waits for weeks behind the tray holds only what the alarms need; the tray, a later
// launch, a notification or the next prayer builds it again.
class OrvaneApp : public QObject {
    Q_OBJECT
  public:
    explicit OrvaneApp(bool phone, QObject* parent = nullptr);
    ~OrvaneApp() override;

    // Creates the window and runs the launch sequence. False when the window could not be made.
    bool start();
    // Brings the window forward, restored if it was minimized, building it again when it was released after a
    // close.
    void showWindow();
    // A later launch's arguments (a link or nothing) and the token its desktop gave it to bring a window
    // forward with.
    void handleArguments(const QStringList& arguments, const QByteArray& activationToken = {});
    void quit();

    QQuickWindow* window() const { return window_; }
    RootController* root() const { return root_.get(); }
    bool hasTrayIcon() const { return tray_ != nullptr; }
    ClockViewModel* clock() const { return clock_.get(); }
    AppSettings* settings() const { return settings_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool buildWindow();
    void releaseClosedWindow();
    void releaseAfterSettling();
    void fitWindowToFace();
    void createTrayIcon();
    void playNextCall();

    bool phone_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<LocationManager> location_;
    std::unique_ptr<LiveLoadSteps> steps_;
    std::unique_ptr<ClockViewModel> clock_;
    std::unique_ptr<RootController> root_;
    std::unique_ptr<OrvaneAutoUpdate> updater_;
    std::unique_ptr<MacAppDelegate> delegate_;
    std::unique_ptr<QQmlApplicationEngine> engine_;
    std::unique_ptr<QMenu> trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<CloseNotice> closeNotice_;
    QPointer<QQuickWindow> window_;
    // Once a call has ended and its player and sound threads are gone, the heap they freed goes back, and the
    // window is fitted to the face the call uncovered.
    QTimer trimAfterCall_;
    // Where the window was when it was last released, so the rebuilt one opens in the same place.
    QRect closedGeometry_;
    // Maximized or full screen when it was last released, so the rebuilt one opens the same way.
    Qt::WindowStates closedStates_;
    bool firstShow_ = true;
    // The size the fit starts from (the first, or the one the user chose by resizing) and the last size it
    // gave the window, so that a change of the face's aspect and back returns the window to where it was.
    QSize chosenSize_;
    QSize fittedSize_;
    double fittedAspect_ = 0;
    // Handed over by a later launch, for the next time the window is brought forward.
    QByteArray activationToken_;
};
