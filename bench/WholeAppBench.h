#pragma once

#include "platform/SecretStore.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQuickStyle>

// A whole-application benchmark's process, set up as the program's main() sets up its own: offscreen with
// the software scene graph and a keyring service of its own. Call the first before the QApplication is
// made and the second after.
namespace WholeAppBench {

inline void prepareEnvironment(const char* device) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("ORVANE_DEVICE_ID", device);
}

inline void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    SecretStore::setServiceName(QStringLiteral("OrvaneBench"));
}

}  // namespace WholeAppBench
