#pragma once

#include "ProbeOutput.h"

#include <QString>
#include <QStringList>

// The probe's engine commands: each reads its options, then writes its whole output; or, with nothing
// written, returns one error line.
namespace ProbeCommands {

QString run(const QString& command, const QStringList& arguments, ProbeOutput& out);

}  // namespace ProbeCommands
