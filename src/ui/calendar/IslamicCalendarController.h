#pragma once

#include "CalendarState.h"
#include "CalendarTexts.h"
#include "model/ClockBundle.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// Everything the month calendar sheet shows and does, for the QML view to bind to: the mode, the shown
// month with its title and span in the other calendar, the grid's slots with their marks, the selected
// day's card and the steps with their bounds. The bundle and the opening instant are taken by `open`, and
// again by "Today", which goes to the clock's day as it is when pressed: the zone may have moved the day
// since the sheet opened.
class IslamicCalendarController : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(bool useHijriGrid READ useHijriGrid WRITE setUseHijriGrid NOTIFY changed)
    Q_PROPERTY(QString titleText READ titleText NOTIFY changed)
    Q_PROPERTY(QString subtitleText READ subtitleText NOTIFY changed)
    Q_PROPERTY(QStringList weekdaySymbols READ weekdaySymbols NOTIFY changed)
    Q_PROPERTY(int leadingBlanks READ leadingBlanks NOTIFY changed)
    Q_PROPERTY(int rowCount READ rowCount NOTIFY changed)
    // rowCount × 7 slots: {blank: true} before day 1 and after the last day, otherwise {blank: false,
    // index, day, caption, today, selected, name}.
    Q_PROPERTY(QVariantList daySlots READ daySlots NOTIFY changed)
    Q_PROPERTY(bool canPreviousYear READ canPreviousYear NOTIFY changed)
    Q_PROPERTY(bool canPreviousMonth READ canPreviousMonth NOTIFY changed)
    Q_PROPERTY(bool canNextMonth READ canNextMonth NOTIFY changed)
    Q_PROPERTY(bool canNextYear READ canNextYear NOTIFY changed)
    Q_PROPERTY(bool hasDetail READ hasDetail NOTIFY changed)
    Q_PROPERTY(QString detailHijri READ detailHijri NOTIFY changed)
    Q_PROPERTY(QString detailGregorian READ detailGregorian NOTIFY changed)
    // The label texts of the sheet by key ("calendar", "calendar_today", ...).
    Q_PROPERTY(QVariantMap labels READ labels NOTIFY changed)

  public:
    explicit IslamicCalendarController(QObject* parent = nullptr);

    // Starts the sheet from a bundle (a ClockBundle or its JSON in a QVariant; anything else counts as an
    // empty bundle at UTC) and the instant it opened (ms since 1970).
    Q_INVOKABLE void open(const QVariant& bundle, double nowMs);
    void open(const ClockBundle& bundle, std::int64_t nowMs);

    Q_INVOKABLE void shiftMonth(int delta);
    Q_INVOKABLE void shiftYear(int delta);
    // Selects the clock's day of `bundle` at `nowMs` and shows its month, in the mode already shown.
    Q_INVOKABLE void jumpToday(const QVariant& bundle, double nowMs);
    void jumpToday(const ClockBundle& bundle, std::int64_t nowMs);
    // A tap on the day at `index` of the shown month.
    Q_INVOKABLE void selectDay(int index);
    Q_INVOKABLE void moveSelection(int days);

    const CalendarState& state() const { return state_; }
    const ClockBundle& bundle() const { return bundle_; }
    const QList<LocalHijri::MonthCell>& cells() const { return cells_; }

    bool useHijriGrid() const { return state_.useHijriGrid; }
    void setUseHijriGrid(bool hijri);
    QString titleText() const { return title_; }
    QString subtitleText() const { return subtitle_; }
    QStringList weekdaySymbols() const { return weekdaySymbols_; }
    int leadingBlanks() const { return leadingBlanks_; }
    int rowCount() const { return rowCount_; }
    QVariantList daySlots() const { return daySlots_; }
    bool canPreviousYear() const { return state_.canShiftYear(-1); }
    bool canPreviousMonth() const { return state_.canShiftMonth(-1); }
    bool canNextMonth() const { return state_.canShiftMonth(+1); }
    bool canNextYear() const { return state_.canShiftYear(+1); }
    bool hasDetail() const { return !detailHijri_.isEmpty(); }
    QString detailHijri() const { return detailHijri_; }
    QString detailGregorian() const { return detailGregorian_; }
    QVariantMap labels() const { return labels_; }

  signals:
    void changed();

  private:
    void refresh();

    ClockBundle bundle_;
    CalendarTexts::Context texts_;
    CalendarState state_;
    QList<LocalHijri::MonthCell> cells_;
    QString title_;
    QString subtitle_;
    QStringList weekdaySymbols_;
    int leadingBlanks_ = 0;
    int rowCount_ = 5;
    QVariantList daySlots_;
    QString detailHijri_;
    QString detailGregorian_;
    QVariantMap labels_;
};
