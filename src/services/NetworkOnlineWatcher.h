#pragma once

#include "services/NetworkPathProbe.h"

#include <QObject>
#include <functional>

// Calls back once each time the machine comes back online after having been offline, so that work which
// waited for the network (the presence check-in) goes out. An unknown path in between changes nothing:
// offline, unknown, online still counts as coming back, online, unknown, online does not.
class NetworkOnlineWatcher : public QObject {
    Q_OBJECT
  public:
    explicit NetworkOnlineWatcher(NetworkPathProbe* probe, QObject* parent = nullptr);

    // The process's watcher over the system probe.
    static NetworkOnlineWatcher& shared();

    // Arms the watcher; a later call replaces the handler, so arming twice never calls twice.
    void start(std::function<void()> onBackOnline);
    void stop();

    NetworkPathProbe::Path lastKnownPath() const { return lastKnown_; }

  signals:
    void backOnline();

  private:
    void observe(NetworkPathProbe::Path path);

    NetworkPathProbe::Path lastKnown_ = NetworkPathProbe::Path::Unknown;
    std::function<void()> onBackOnline_;
};
