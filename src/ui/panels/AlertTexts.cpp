#include "AlertTexts.h"

#include "model/DisplayFormat.h"

#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace AlertTexts {

bool isSevere(const Alert& alert) {
    if (alert.emergency) return *alert.emergency;
    return alert.severity == u"Severe"_s || alert.severity == u"Extreme"_s;
}

bool anySevere(const QList<Alert>& alerts) {
    for (const Alert& alert : alerts)
        if (isSevere(alert)) return true;
    return false;
}

namespace {

// One decimal exactly as printf's "%.1f" gives it (ties of exact binary values go to even), with a point.
QString oneDecimal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    if (result.ec != std::errc()) return QString::fromUtf16(DisplayFormat::missingFigure);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// "12.5 km away": the figure from the shared distance format, the unit named by the suffix alone.
QString distancePart(double km, const ClockBundle& bundle, bool metric) {
    QString figure = DisplayFormat::distance(km, metric);
    const QString unit = metric ? u" km"_s : u" mi"_s;
    if (figure.endsWith(unit)) figure.chop(unit.size());
    const QString suffix = metric ? bundle.label(u"km_away"_s) : u"mi away"_s;
    return figure + u' ' + suffix;
}

QString earthquakeSummary(const Alert& alert, const ClockBundle& bundle, bool metric) {
    QString head = bundle.label(u"earthquake"_s);
    if (alert.magnitude && std::isfinite(*alert.magnitude)) head += u" M"_s + oneDecimal(*alert.magnitude);
    QStringList details;
    if (alert.place) details << *alert.place;
    if (alert.distanceKm && std::isfinite(*alert.distanceKm))
        details << distancePart(*alert.distanceKm, bundle, metric);
    if (details.isEmpty()) return head;
    return head + u" \u2014 "_s + details.join(u" \u00b7 "_s);
}

}  // namespace

QString summary(const Alert& alert, const ClockBundle& bundle, bool metric) {
    if (alert.type == u"earthquake"_s) return earthquakeSummary(alert, bundle, metric);
    if (alert.event) {
        if (!alert.headline || alert.headline->isEmpty() || *alert.headline == *alert.event)
            return *alert.event;
        return *alert.event + u" \u2014 "_s + *alert.headline;
    }
    if (alert.headline) return *alert.headline;
    return u"Alert"_s;
}

QString tickerText(const ClockBundle& bundle, bool metric) {
    QStringList items;
    items.reserve(bundle.alerts.size());
    for (const Alert& alert : bundle.alerts) {
        QString prefix;
        if (alert.type == u"earthquake"_s)
            prefix = u"\u3030\ufe0f"_s;
        else if (isSevere(alert))
            prefix = u"\U0001F534"_s;
        else
            prefix = u"\U0001F7E0"_s;
        items << prefix + u' ' + summary(alert, bundle, metric);
    }
    const QString sep = QString::fromUtf16(separator);
    if (items.size() == 1) return items.first() + sep + items.first();
    return items.join(sep);
}

}  // namespace AlertTexts
