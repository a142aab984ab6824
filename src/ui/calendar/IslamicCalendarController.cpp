#include "IslamicCalendarController.h"

#include "ui/panels/PanelModel.h"

#include <cmath>

IslamicCalendarController::IslamicCalendarController(QObject* parent) : QObject(parent) {
    open(ClockBundle{}, 0);
}

void IslamicCalendarController::open(const QVariant& bundle, double nowMs) {
    const std::int64_t now = std::isfinite(nowMs) ? std::int64_t(nowMs) : 0;
    open(PanelModel::bundleFrom(bundle).value_or(ClockBundle{}), now);
}

void IslamicCalendarController::open(const ClockBundle& bundle, std::int64_t nowMs) {
    bundle_ = bundle;
    const LocalHijri::Location place{bundle.location.lat, bundle.location.lon, bundle.location.tzOffsetHours};
    state_ = CalendarState::create(place, nowMs);
    texts_ = {bundle.lang, place.offsetSeconds(), bundle.labels};
    weekdaySymbols_ = CalendarTexts::weekdaySymbols(bundle.lang);
    labels_.clear();
    for (const char* key : {"calendar", "calendar_today", "calendar_mode_gregorian", "calendar_mode_hijri",
                            "calendar_caption"}) {
        const QString name = QString::fromLatin1(key);
        labels_.insert(name, bundle.label(name));
    }
    refresh();
}

void IslamicCalendarController::setUseHijriGrid(bool hijri) {
    if (hijri == state_.useHijriGrid) return;
    state_.setHijriGrid(hijri);
    refresh();
}

void IslamicCalendarController::shiftMonth(int delta) {
    if (state_.shiftMonth(delta)) refresh();
}

void IslamicCalendarController::shiftYear(int delta) {
    if (state_.shiftYear(delta)) refresh();
}

void IslamicCalendarController::jumpToday(const QVariant& bundle, double nowMs) {
    const std::int64_t now = std::isfinite(nowMs) ? std::int64_t(nowMs) : 0;
    jumpToday(PanelModel::bundleFrom(bundle).value_or(ClockBundle{}), now);
}

void IslamicCalendarController::jumpToday(const ClockBundle& bundle, std::int64_t nowMs) {
    const bool hijri = state_.useHijriGrid;
    open(bundle, nowMs);
    setUseHijriGrid(hijri);
}

void IslamicCalendarController::selectDay(int index) {
    if (index < 0 || index >= cells_.size() || !cells_[index].gregorian.isValid()) return;
    state_.selectedDate = cells_[index].gregorian.toMSecsSinceEpoch();
    refresh();
}

void IslamicCalendarController::moveSelection(int days) {
    if (state_.moveSelection(days)) refresh();
}

void IslamicCalendarController::refresh() {
    const bool hijri = state_.useHijriGrid;
    cells_ = state_.cells();
    leadingBlanks_ = CalendarTexts::leadingBlanks(cells_);
    rowCount_ = CalendarTexts::rowCount(leadingBlanks_, cells_.size());
    if (hijri) {
        title_ = CalendarTexts::hijriTitle(state_.hy, state_.hm, texts_);
        subtitle_ =
            cells_.isEmpty() ? QString() : CalendarTexts::gregorianRange(cells_.constFirst(), cells_, texts_);
    } else {
        title_ = CalendarTexts::gregorianTitle(state_.gy, state_.gm, texts_);
        subtitle_ = CalendarTexts::hijriRange(cells_, texts_);
    }

    daySlots_.clear();
    daySlots_.reserve(rowCount_ * 7);
    detailHijri_.clear();
    detailGregorian_.clear();
    for (int slot = 0; slot < rowCount_ * 7; ++slot) {
        const int index = slot - leadingBlanks_;
        if (index < 0 || index >= cells_.size()) {
            daySlots_.append(QVariantMap{{QStringLiteral("blank"), true}});
            continue;
        }
        const LocalHijri::MonthCell& cell = cells_[index];
        const bool selected = state_.isSelected(cell);
        const QString hijriDate = CalendarTexts::hijriDate(cell, texts_);
        const QString longDate = CalendarTexts::longGregorian(cell.gregorian.toMSecsSinceEpoch(), texts_);
        if (selected && detailHijri_.isEmpty()) {
            detailHijri_ = hijriDate;
            detailGregorian_ = longDate;
        }
        daySlots_.append(QVariantMap{
            {QStringLiteral("blank"), false},
            {QStringLiteral("index"), index},
            {QStringLiteral("day"), CalendarTexts::dayNumber(cell, hijri, texts_)},
            {QStringLiteral("caption"), CalendarTexts::caption(cell, hijri, texts_)},
            {QStringLiteral("today"), cell.isToday},
            {QStringLiteral("selected"), selected},
            {QStringLiteral("name"), hijri ? hijriDate + QStringLiteral(", ") + longDate
                                           : longDate + QStringLiteral(", ") + hijriDate},
        });
    }
    emit changed();
}
