#include "MarqueeMotion.h"

#include "platform/Clock.h"

#include <cmath>

bool MarqueeMotion::scrolls(double textWidth, double containerWidth, bool forceScroll) {
    if (forceScroll) return textWidth > 1;
    return textWidth > containerWidth + 1 && containerWidth > 1;
}

double MarqueeMotion::offsetAt(double elapsedSeconds, double speed, double cycle) {
    if (!(cycle > 0) || !std::isfinite(cycle)) return 0;
    const double travelled = elapsedSeconds * speed;
    if (!std::isfinite(travelled)) return 0;
    const double x = -std::fmod(travelled, cycle);
    return x == 0 ? 0 : x;  // no "-0"
}

MarqueeMotion::MarqueeMotion(QObject* parent) : QObject(parent), startMs_(Clock::nowMs()) {}

void MarqueeMotion::setInput(double& field, double value) {
    if (!std::isfinite(value) || value == field) return;
    field = value;
    emit inputsChanged();
}

void MarqueeMotion::setTextWidth(double width) {
    setInput(textWidth_, width);
}
void MarqueeMotion::setContainerWidth(double width) {
    setInput(containerWidth_, width);
}
void MarqueeMotion::setSpeed(double speed) {
    setInput(speed_, speed);
}
void MarqueeMotion::setGap(double gap) {
    setInput(gap_, gap);
}

void MarqueeMotion::setForceScroll(bool force) {
    if (force == forceScroll_) return;
    forceScroll_ = force;
    emit inputsChanged();
}

void MarqueeMotion::advance() {
    const double elapsed = static_cast<double>(Clock::nowMs() - startMs_) / 1000.0;
    const double x = scrolls() ? offsetAt(elapsed, speed_, textWidth_ + gap_) : 0;
    if (x == offset_) return;
    offset_ = x;
    emit offsetChanged();
}
