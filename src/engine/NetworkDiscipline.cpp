#include "engine/NetworkDiscipline.h"

#include <charconv>
#include <cmath>

namespace {

QString chars(double value, std::chars_format format, std::optional<int> precision = std::nullopt) {
    char buffer[64];
    const std::to_chars_result r =
        precision ? std::to_chars(buffer, buffer + sizeof buffer, value, format, *precision)
                  : std::to_chars(buffer, buffer + sizeof buffer, value, format);
    if (r.ec != std::errc()) return QString();
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

double roundedToThousandths(double x) {
    return std::round(x * 1000.0) / 1000.0;
}

}  // namespace

namespace NetworkDiscipline {

const WeatherProvider* provider(const QString& id) {
    for (const WeatherProvider& p : weatherProviders)
        if (id == QLatin1String(p.id)) return &p;
    return nullptr;
}

double maxAgeSeconds(qint64 hours) {
    return hours >= 1 ? double(hours) * 3600.0 : 3600.0;
}

QString coordinateKey(double lat, double lon) {
    return chars(roundedToThousandths(lat), std::chars_format::fixed, 3) + QLatin1Char(',') +
           chars(roundedToThousandths(lon), std::chars_format::fixed, 3);
}

QString decimalText(double value) {
    if (!std::isfinite(value)) return chars(value, std::chars_format::general);
    const double magnitude = std::abs(value);
    if (magnitude != 0 && (magnitude < 1e-4 || magnitude >= 1e16))
        return chars(value, std::chars_format::scientific);
    QString text = chars(value, std::chars_format::fixed);
    if (!text.contains(QLatin1Char('.'))) text += QLatin1String(".0");
    return text;
}

}  // namespace NetworkDiscipline
