#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a terminal, the terminal it was started
// from closed) into a signal on the event loop, so the clock ends the way the tray's Quit ends it, with every
// setting flushed, instead of dying mid-pass. One instance per process; the handlers only write a byte to a
// socket pair.
class QuitSignals : public QObject {
    Q_OBJECT
  public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // False when the handlers could not be installed; the default action then stays in force.
    bool isInstalled() const { return notifier_ != nullptr; }

  signals:
    // The number of the signal that arrived.
    void received(int signalNumber);

  private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};
