#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct ClockBundle;

// The prayer row's cells: each prayer's name over its time, the next prayer's time marked for gold.
namespace PrayerCells {

struct Cell {
    QString key;
    QString name;
    QString time;
    bool next = false;
};

// The five prayers the face shows, left to right (sunrise is not among them).
QStringList faceOrder();
QList<Cell> cells(const ClockBundle& bundle, bool use24Hour, const QLocale& locale, const QStringList& order);
QVariantList toVariant(const QList<Cell>& cells);

}  // namespace PrayerCells
