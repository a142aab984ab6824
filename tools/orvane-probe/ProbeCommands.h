#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The probe's commands: each reads its options and produces its whole output, or one error line.
namespace ProbeCommands {

struct Result {
    QByteArray output;
    QString error;
};

Result run(const QString& command, const QStringList& arguments);

}  // namespace ProbeCommands
