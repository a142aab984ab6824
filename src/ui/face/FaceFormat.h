#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

// Small texts the face's pieces compose from plain values: the humidity badge, the event chips' lines
// and the strip's next position.
class FaceFormat : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    using QObject::QObject;

    // "40%": the number in the system locale's digits, no grouping.
    Q_INVOKABLE static QString percent(int pct);
    // "1 Shawwal · Mar 20": Hijri day and month, then the short Gregorian date in the bundle's language;
    // a date text that does not parse is shown as it is.
    Q_INVOKABLE static QString eventDetail(int hijriDay, const QString& hijriMonthName,
                                           const QString& gregorian, const QString& lang);
    Q_INVOKABLE static QString eventShortDate(const QString& gregorian, const QString& lang);
    // "today" on the day, else "5 days".
    Q_INVOKABLE static QString eventDaysLeft(int inDays, const QString& todayLabel,
                                             const QString& daysShortLabel);
    // The strip's next chip: one step on, wrapping; fewer than two chips never move.
    Q_INVOKABLE static int nextEventIndex(int index, int count);
};
