#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ProbeBundle {

struct Result {
    QByteArray output;
    QString error;
};

// --lat L --lon L [--settings FILE.json] [--at ISO-UTC] [--offline]: one whole clock bundle as one JSON
// line, built on a private, temporary settings store; or one error line and no output.
Result run(const QStringList& arguments);

}  // namespace ProbeBundle
