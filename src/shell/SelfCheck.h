#pragma once

#include <QStringList>

// What a freshly unpacked build proves about itself before it replaces the running one: that it starts,
// finds its libraries, calendars, resources and every view it would load. It reads and writes no user data.
namespace SelfCheck {

// Needs a QGuiApplication (any platform plugin). Empty when the build is whole, else one line per fault.
QStringList problems();

// The command-line form: prints the faults, returns the process exit code (0 when whole).
int run();

}  // namespace SelfCheck
