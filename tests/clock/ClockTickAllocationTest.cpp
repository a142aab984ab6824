#include <gtest/gtest.h>

#include "Await.h"
#include "ClockTestSupport.h"
#include "FakeClock.h"
#include "TempHome.h"
#include "clock/AdhanPlayer.h"
#include "clock/ClockViewModel.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopNotifications.h"
#include "services/AppSettings.h"

#include <cstdlib>

// Counts heap allocations made by this thread while `counting` is on.
namespace {
thread_local bool counting = false;
thread_local long allocations = 0;
}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer owns the C allocator and would fight an interposed one; it reports every allocation to a
// hook instead.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
namespace {
[[maybe_unused]] const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(
    [](const volatile void*, size_t) {
        if (counting) ++allocations;
    },
    [](const volatile void*) {});
}  // namespace
#else
// Qt's containers and strings allocate with malloc directly, so the C allocator is what is interposed;
// glibc's own entry points do the work.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t size) {
    if (counting) ++allocations;
    return __libc_malloc(size);
}
void* calloc(size_t n, size_t size) {
    if (counting) ++allocations;
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size) {
    if (counting) ++allocations;
    return __libc_realloc(p, size);
}
void free(void* p) {
    __libc_free(p);
}
}
#endif

TEST(ClockTickAllocation, SteadyTicksAllocateNothing) {
    qputenv("ORVANE_DEVICE_ID", "device-alloc");
    TempHome home;
    DefaultsStore store(home.configHome() + QStringLiteral("/defaults.sqlite3"));
    AppSettings settings(store);
    settings.setUseManualLocation(true);
    settings.setManualCity(QStringLiteral("Makkah"));
    settings.setManualLat(21.42);
    settings.setManualLon(39.83);
    DesktopNotifications client;
    NotificationScheduler scheduler(client, store);
    AdhanPlayer player;
    MacPrayerAlarmService alarms;
    clocktest::FakeSteps steps;
    ClockViewModel vm(settings, steps, ClockViewModel::Collaborators{&player, &scheduler, &alarms});
    int bundleChanges = 0;
    QObject::connect(&vm, &ClockViewModel::bundleChanged, [&] { ++bundleChanges; });

    // 10:00 at the place; the next prayer (dhuhr, 12:20) stays the same for two hours.
    FakeClock clock("2026-03-01T07:00:00Z");
    ASSERT_TRUE(await(vm.resolveAndLoad(false)));
    for (int i = 0; i < 120; ++i) {
        clock.advanceSeconds(1);
        vm.tick();
    }
    const int changesBefore = bundleChanges;
    // The counter itself must see what it is meant to see.
    allocations = 0;
    counting = true;
    QString probe = QString::number(qint64(Clock::nowMs())).repeated(4);
    counting = false;
    ASSERT_GT(allocations, 0) << qPrintable(probe);
    allocations = 0;
    counting = true;
    for (int i = 0; i < 3600; ++i) {
        Clock::advance(1000);
        vm.tick();
    }
    counting = false;
    EXPECT_EQ(allocations, 0) << "allocations in 3600 steady ticks";
    EXPECT_EQ(bundleChanges, changesBefore);
    EXPECT_EQ(vm.bundle()->nextPrayer.key, QStringLiteral("dhuhr"));
    qunsetenv("ORVANE_DEVICE_ID");
}
