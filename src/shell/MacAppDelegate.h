#pragma once

#include <QObject>
#include <functional>

class OrvaneAutoUpdate;

// The application's launch and reopen handling: the launch sequence (Hijri self-test, notification
// categories, permission, the alarm service, activation, the update checker) and the one way to bring the
// window back, used by the tray icon, a second launch and notifications.
class MacAppDelegate : public QObject {
    Q_OBJECT
  public:
    explicit MacAppDelegate(OrvaneAutoUpdate* updater, QObject* parent = nullptr);

    // Set by the window when it exists; reopens and raises it.
    static std::function<void()> reopenHandler;

    void applicationDidFinishLaunching();
    // Reopens the window; `fresh` also asks the clock for a new dial logo and a reload.
    void reopen(bool fresh);
    void applicationWillTerminate();

  private:
    OrvaneAutoUpdate* updater_;
};
