#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

struct ClockBundle;

// The status row's pills: one per data feed, each "title: OK", an em dash, or a count, tinted by its flag.
namespace StatusPills {

struct Pill {
    QString text;
    bool ok = true;
};

// "title: OK" / "title: —" below a count of 1, else "title: <count>" whatever the flag.
QString pillText(const QString& title, bool ok, qint64 count = 0);
// Prayers (OK only with all five times), weather, alerts (with their count), geo and "NASA" (OK only
// while the sun picture's feed works), in that order.
QList<Pill> pills(const ClockBundle& bundle, bool sunPictureWorked);
// The same as a list of {text, ok} maps for the view.
QVariantList toVariant(const QList<Pill>& pills);

}  // namespace StatusPills
