#pragma once

#include <QProcessEnvironment>
#include <QString>

// Runs one test of the current test program again, in a child process with its own D-Bus session and an
// unlocked gnome-keyring on it, so the test may lock, stop or break that keyring without touching the one
// every other test shares.
namespace KeyringSession {

// True when gnome-keyring-daemon and dbus-run-session are installed.
bool available();

// Runs `gtestFilter` with `environment` (HOME, flags) and returns whether the child ran and passed.
bool runTest(const QString& gtestFilter, QProcessEnvironment environment);

}  // namespace KeyringSession
