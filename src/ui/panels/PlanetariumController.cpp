#include "PlanetariumController.h"
#include "PlanetariumWebContext.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>

PlanetariumController::PlanetariumController(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setInterval(timeoutMs);
    connect(&timeout_, &QTimer::timeout, this, &PlanetariumController::navigationFailed);
    // The sheet makes its controller before its web view.
    PlanetariumWebContext::prepare();
}

void PlanetariumController::setUrl(const QUrl& url) {
    // The page is the one the sheet opened with; a later address does not reload it.
    if (!url_.isEmpty() || url.isEmpty()) return;
    url_ = url;
    emit urlChanged();
}

bool PlanetariumController::webViewAvailable() {
    static const bool available = QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::QmlImportsPath) +
                                                    QStringLiteral("/QtWebEngine/qmldir"));
    return available;
}

QString PlanetariumController::notice() {
    return QStringLiteral(
        u"The sky map couldn\u2019t finish loading in-app (site protection may block WebView).");
}

void PlanetariumController::set(bool loading, bool failed) {
    if (loading == isLoading_ && failed == loadFailed_) return;
    isLoading_ = loading;
    loadFailed_ = failed;
    emit stateChanged();
}

void PlanetariumController::navigationStarted() {
    timeout_.start();
    set(true, loadFailed_);
}

void PlanetariumController::navigationFinished() {
    timeout_.stop();
    set(false, false);
}

void PlanetariumController::navigationFailed() {
    timeout_.stop();
    set(false, true);
}

void PlanetariumController::openInBrowser() const {
    if (!url_.isEmpty()) QDesktopServices::openUrl(url_);
}
