#pragma once

#include <QString>
#include <ostream>

// Readable QString values in failure messages of the engine tests. File-local so that it never meets
// another test file's printer at link time.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
