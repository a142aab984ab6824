#include "QiblaPanelModel.h"

#include "QiblaTexts.h"

#include <QUrlQuery>
#include <cmath>

QString QiblaPanelModel::identity() const {
    return QiblaTexts::identity(bundle());
}
QString QiblaPanelModel::locationKey() const {
    return QiblaTexts::locationKey(bundle().location);
}
QString QiblaPanelModel::streetCaption() const {
    return QiblaTexts::streetCaption(bundle());
}
QString QiblaPanelModel::bearingCapsule() const {
    return QiblaTexts::bearingCapsule(bundle());
}
QString QiblaPanelModel::mapCaption() const {
    return QiblaTexts::mapCaption(bundle());
}
bool QiblaPanelModel::streetViewAvailable() const {
    return QiblaTexts::streetViewAvailable(bundle().qibla);
}

QUrl QiblaPanelModel::pictureUrl(const QString& link) {
    const QUrl url(link, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) return {};
    // A bundle stored by a build without a maps key carries links with an empty key, which can only fail.
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("key")) &&
        query.queryItemValue(QStringLiteral("key")).trimmed().isEmpty())
        return {};
    return url;
}

QUrl QiblaPanelModel::streetUrl() const {
    const auto& images = bundle().qibla.images;
    if (!images || !streetViewAvailable()) return {};
    return pictureUrl(images->streetviewUrl);
}

QUrl QiblaPanelModel::mapUrl() const {
    const auto& images = bundle().qibla.images;
    return images ? pictureUrl(images->mapUrl) : QUrl();
}

double QiblaPanelModel::bearing() const {
    const double b = bundle().qibla.bearing;
    return std::isfinite(b) ? b : 0.0;
}

double QiblaPanelModel::blockWidth(double width, double freeHeight) {
    if (!std::isfinite(width) || width <= 0) return 0;
    if (!std::isfinite(freeHeight) || freeHeight <= 0) return width;
    // The street block is three quarters as high as wide and the map as high as wide.
    return std::max(0.0, std::min(width, freeHeight / 1.75));
}
