#include <gtest/gtest.h>

#include "shell/QuitSignals.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <csignal>

// Each signal that ends a session or a terminal arrives as a request to quit on the event loop, so the clock
// ends with its settings written instead of dying where it stands.
TEST(QuitSignals, LogoutInterruptAndAClosedTerminalAskToQuit) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(number);
        std::signal(number, SIG_DFL);  // as a program started from a terminal has it
        QuitSignals quitSignals;
        ASSERT_TRUE(quitSignals.isInstalled());
        QSignalSpy received(&quitSignals, &QuitSignals::received);
        std::raise(number);
        ASSERT_TRUE(received.wait(5000));
        EXPECT_EQ(received.first().first().toInt(), number);
    }
}

TEST(QuitSignals, AClockStartedWithNohupOutlivesItsTerminal) {
    std::signal(SIGHUP, SIG_IGN);
    {
        QuitSignals quitSignals;
        QSignalSpy received(&quitSignals, &QuitSignals::received);
        std::raise(SIGHUP);  // the handler, had it been installed, has written its byte by now
        QCoreApplication::processEvents();
        EXPECT_TRUE(received.isEmpty());
    }
    std::signal(SIGHUP, SIG_DFL);
}
