#include "services/NetworkPathProbe.h"

#include <QCoreApplication>
#include <QPointer>

// GLib's headers name a struct member "signals", which Qt defines away.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace {

NetworkPathProbe::Path fromGioConnectivity(GNetworkConnectivity connectivity) {
    return connectivity == G_NETWORK_CONNECTIVITY_FULL ? NetworkPathProbe::Path::Online
                                                       : NetworkPathProbe::Path::Offline;
}

// Qt's GLib backend listens only for changes of the monitor's "connectivity" property, which GLib's
// netlink monitor (the one in use without NetworkManager) never announces: the backend would stay at its
// first answer for ever. The monitor's own "network-changed" signal does arrive, so the probe follows it
// as well and reads the connectivity afresh each time.
void followGioMonitor(NetworkPathProbe* probe) {
    GNetworkMonitor* monitor = g_network_monitor_get_default();
    if (!monitor) return;
    g_signal_connect(monitor, "network-changed", G_CALLBACK(+[](GNetworkMonitor* m, gboolean, gpointer data) {
                         auto* target = static_cast<QPointer<NetworkPathProbe>*>(data);
                         if (*target)
                             (*target)->report(fromGioConnectivity(g_network_monitor_get_connectivity(m)));
                     }),
                     new QPointer<NetworkPathProbe>(probe));  // lives as long as the process's monitor
}

}  // namespace

NetworkPathProbe::NetworkPathProbe(QObject* parent) : QObject(parent) {}

NetworkPathProbe* NetworkPathProbe::system() {
    static QPointer<NetworkPathProbe> probe;
    if (probe) return probe;
    probe = new NetworkPathProbe(QCoreApplication::instance());
    // The default backend on Linux needs NetworkManager; without it, any backend that can tell reachability
    // (GLib's network monitor follows the routing table) will do.
    const bool loaded =
        QNetworkInformation::loadDefaultBackend() ||
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr;
    if (!info || !info->supports(QNetworkInformation::Feature::Reachability)) return probe;
    probe->backend_ = info->backendName();
    connect(info, &QNetworkInformation::reachabilityChanged, probe,
            [p = probe.data()](QNetworkInformation::Reachability r) { p->report(fromReachability(r)); });
    probe->report(fromReachability(info->reachability()));
    if (probe->backend_ == QLatin1String("glib")) followGioMonitor(probe);
    return probe;
}

void NetworkPathProbe::report(Path path) {
    if (path == path_) return;
    path_ = path;
    emit pathChanged(path);
}

NetworkPathProbe::Path NetworkPathProbe::fromReachability(QNetworkInformation::Reachability reachability) {
    switch (reachability) {
        case QNetworkInformation::Reachability::Online:
            return Path::Online;
        case QNetworkInformation::Reachability::Disconnected:
        case QNetworkInformation::Reachability::Local:
        case QNetworkInformation::Reachability::Site:
            return Path::Offline;
        case QNetworkInformation::Reachability::Unknown:
            break;
    }
    return Path::Unknown;
}
