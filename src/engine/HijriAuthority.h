#pragma once

#include <QCoro/QCoroTask>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <optional>

// Confirms the Hijri day offset with the own server: the device computes the Umm al-Qura date itself, the
// server says which Hijri date it is, and the whole-day difference is stored for the Hijri display. Asked
// at most once every three hours unless forced; every failure keeps the stored offset.
namespace HijriAuthority {

// The server's reply.
struct RemotePayload {
    struct H {
        qint64 year = 0;
        qint64 month = 0;
        qint64 day = 0;
        std::optional<QString> monthName;
    };
    struct G {
        qint64 year = 0;
        qint64 month = 0;
        qint64 day = 0;
    };
    H hijri;
    G gregorian;
    std::optional<QString> source;
    std::optional<qint64> adjusted;

    static std::optional<RemotePayload> fromJson(const QJsonValue& value);
};

// The stored offset after asking the server when due; never fails.
QCoro::Task<qint64> sync(std::optional<double> lat, std::optional<double> lon, QDateTime date, bool force);

// "/v1/hijri_date" on the own server with "date" (the device-local civil date, dd-MM-yyyy) and the
// coordinates when given; empty when no address can be formed.
QUrl makeURL(std::optional<double> lat, std::optional<double> lon, const QDateTime& date);

// The whole-day offset k for which the device's Umm al-Qura date of civilDate + k equals the server's Hijri
// date: the reply's "adjusted" first when it lies in -2...2, then 0, -1, 1, -2, 2; with no match the reply's
// "adjusted" when it lies in -3...3, else 0 without one; nothing for an "adjusted" beyond that, which is
// never stored.
std::optional<qint64> resolveOffset(const RemotePayload& remote, const QDate& civilDate);

}  // namespace HijriAuthority
