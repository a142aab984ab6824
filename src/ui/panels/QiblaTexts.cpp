#include "QiblaTexts.h"

#include "model/DisplayFormat.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace QiblaTexts {

QString roundedInteger(double value) {
    const double r = std::round(value);  // halves away from zero
    if (!std::isfinite(r) || std::fabs(r) > 9e15) return QString::fromUtf16(DisplayFormat::missingFigure);
    return QString::number(static_cast<qint64>(r));
}

QString locationKey(const LocationInfo& location) {
    return roundedInteger(location.lat * 10000) + u'-' + roundedInteger(location.lon * 10000);
}

QString identity(const ClockBundle& bundle) {
    QString key = locationKey(bundle.location) + u'-';
    if (bundle.qibla.images)
        key += bundle.qibla.images->mapUrl + u'-' + bundle.qibla.images->streetviewUrl;
    else
        key += u'-';
    return key;
}

bool streetViewAvailable(const Qibla& qibla) {
    return !qibla.images || qibla.images->streetviewAvailable.value_or(true);
}

namespace {
QString degrees(const ClockBundle& bundle) {
    return roundedInteger(bundle.qibla.bearing) + u"\u00b0"_s;
}
const QString dot = QStringLiteral(u" \u00b7 ");
}  // namespace

QString streetCaption(const ClockBundle& bundle) {
    return bundle.label(u"arrow_points_qibla"_s) + dot + bundle.qibla.compass + dot + degrees(bundle);
}

QString bearingCapsule(const ClockBundle& bundle) {
    return bundle.qibla.compass + dot + bundle.label(u"qibla"_s) + dot + degrees(bundle);
}

QString mapCaption(const ClockBundle& bundle) {
    return bundle.label(u"qibla"_s) + dot + bundle.qibla.compass + dot + degrees(bundle);
}

}  // namespace QiblaTexts
