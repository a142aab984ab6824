#include <gtest/gtest.h>

#include <QGuiApplication>

// Every test binary runs inside a Qt application so event loops, timers and sockets work; offscreen and
// with the software scene graph so no display is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // What the last test let go of is deleted while the application still stands, as exec() does when its
    // loop ends: audio objects left for the process's exit would tear down with their sound server streams
    // still open.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
