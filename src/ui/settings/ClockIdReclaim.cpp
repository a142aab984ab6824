#include "ui/settings/ClockIdReclaim.h"

#include "services/AppSettings.h"
#include "ui/settings/SpacesAndTabs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>

using namespace Qt::Literals::StringLiterals;

ClockIdReclaim::ClockIdReclaim(AppSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    connect(&settings_, &AppSettings::clockIdChanged, this, &ClockIdReclaim::clockIdChanged);
}

QString ClockIdReclaim::clockId() const {
    return settings_.ensureLocalClockId();
}

void ClockIdReclaim::setDraft(const QString& text) {
    if (text == draft_) return;
    const bool could = canReclaim();
    draft_ = text;
    Q_EMIT draftChanged();
    if (could != canReclaim()) Q_EMIT canReclaimChanged();
}

bool ClockIdReclaim::canReclaim() const {
    return !busy_ && trimSpacesAndTabs(draft_).size() >= 12;
}

void ClockIdReclaim::setMessage(const QString& text) {
    if (text == message_) return;
    message_ = text;
    Q_EMIT messageChanged();
}

void ClockIdReclaim::setBusy(bool busy) {
    if (busy == busy_) return;
    const bool could = canReclaim();
    busy_ = busy;
    Q_EMIT busyChanged();
    if (could != canReclaim()) Q_EMIT canReclaimChanged();
}

void ClockIdReclaim::copyClockId() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(settings_.ensureLocalClockId());
    }
    setMessage(u"Copied \u2713"_s);
}

void ClockIdReclaim::startReclaim() {
    if (canReclaim()) reclaim();
}

QCoro::Task<> ClockIdReclaim::reclaim() {
    QPointer<ClockIdReclaim> self(this);
    setBusy(true);
    setMessage({});
    const QString typed = draft_;
    const bool ok = co_await settings_.reclaimClockId(typed);
    if (!self) co_return;
    if (ok) {
        setMessage(u"Reclaimed \u2713 \u2014 address downloaded"_s);
        setDraft({});
        Q_EMIT applied();
    } else if (settings_.clockId().toLower() == trimSpacesAndTabs(typed).toLower()) {
        setMessage(u"Clock ID set \u2014 no saved address on server yet"_s);
        Q_EMIT applied();
    } else {
        setMessage(u"Could not reclaim. Check the ID and internet."_s);
    }
    setBusy(false);
}
