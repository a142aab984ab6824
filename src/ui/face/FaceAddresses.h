#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>

struct Branding;
struct LocationInfo;

// The two addresses the face hands on: the dial logo and the sky-map page.
namespace FaceAddresses {

// The clock state's chosen logo first, else the bundle's branding logo resolved against the own server.
// Only http(s) addresses are taken, and local files only from inside `logoCacheDir`; anything else gives
// no logo (the dial then shows its symbol).
std::optional<QUrl> logoURL(const std::optional<QUrl>& dialLogoURL, const std::optional<Branding>& branding,
                            const QUrl& serverBase, const QString& logoCacheDir);

// The planetarium page for the place and the minute of `utcMs` at the place (the system zone when the
// offset forms none): obj, date, h, m, lat, lon and fov, in that order.
QUrl planetariumURL(std::int64_t utcMs, const LocationInfo& location, const QUrl& planetariumOrigin);

// The shortest decimal text that reads back to the same double.
QString shortestDecimal(double value);

}  // namespace FaceAddresses
