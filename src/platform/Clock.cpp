#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <limits>

namespace {
constexpr std::int64_t kSystem = std::numeric_limits<std::int64_t>::min();
std::atomic<std::int64_t> fixedMs{kSystem};
}  // namespace

namespace Clock {

std::int64_t nowMs() {
    const std::int64_t fixed = fixedMs.load(std::memory_order_relaxed);
    if (fixed != kSystem) return fixed;
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

QDateTime now() { return QDateTime::fromMSecsSinceEpoch(nowMs(), Qt::UTC); }

void setFixed(std::int64_t msSinceEpoch) { fixedMs.store(msSinceEpoch); }
void setFixed(const QDateTime& instant) { setFixed(instant.toMSecsSinceEpoch()); }
void advance(std::int64_t ms) { setFixed(nowMs() + ms); }
void useSystem() { fixedMs.store(kSystem); }
bool isFixed() { return fixedMs.load() != kSystem; }

}  // namespace Clock
