#include "services/NetworkOnlineWatcher.h"

#include <QCoreApplication>
#include <QPointer>

NetworkOnlineWatcher::NetworkOnlineWatcher(NetworkPathProbe* probe, QObject* parent) : QObject(parent) {
    if (!probe) return;
    lastKnown_ = probe->path();
    connect(probe, &NetworkPathProbe::pathChanged, this, &NetworkOnlineWatcher::observe);
}

NetworkOnlineWatcher& NetworkOnlineWatcher::shared() {
    static QPointer<NetworkOnlineWatcher> watcher;
    if (!watcher)
        watcher = new NetworkOnlineWatcher(NetworkPathProbe::system(), QCoreApplication::instance());
    return *watcher;
}

void NetworkOnlineWatcher::start(std::function<void()> onBackOnline) {
    onBackOnline_ = std::move(onBackOnline);
}

void NetworkOnlineWatcher::stop() {
    onBackOnline_ = nullptr;
}

void NetworkOnlineWatcher::observe(NetworkPathProbe::Path path) {
    using Path = NetworkPathProbe::Path;
    if (path == Path::Unknown) return;
    const bool cameBack = path == Path::Online && lastKnown_ == Path::Offline;
    lastKnown_ = path;
    if (!cameBack) return;
    emit backOnline();
    if (onBackOnline_) onBackOnline_();
}
