#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#ifdef ORVANE_TEST_WIDGETS_APP
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// Every test binary runs inside a Qt application so event loops, timers and sockets work; offscreen and
// with the software scene graph so no display is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    int result = 1;
    {
        TestApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
        QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
        // What the last test let go of is deleted while the application still stands, as exec() does when
        // its loop ends: audio objects left for the process's exit would tear down with their sound server
        // streams still open.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Qt 6.4's PulseAudio engine is a process-wide static; its teardown at exit now and then aborts inside
    // libpulse ("io_events_please_scan == 0" in cleanup_io_events) after every test has passed. Nothing of
    // ours is left by now, so the program ends without running the static destructors.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    std::fflush(nullptr);
    std::_Exit(result);
}
