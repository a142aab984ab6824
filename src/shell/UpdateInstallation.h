#pragma once

#include <QString>

// Whether this installation may replace itself. Only a folder of its own that this user can change is
// swapped for a new build; a copy a package manager installed (in the system's folders, or anywhere this
// user cannot write) is updated the way it was installed, and a folder other programs share (a "bin", the
// home folder) is never renamed away.
namespace UpdateInstallation {

enum class Kind { SelfUpdating, NotWritable, SharedFolder };

// `installDir` is the folder of the running program.
Kind inspect(const QString& installDir);

// What the update question tells the user when this installation does not update itself.
QString howToUpdate(Kind kind, const QString& installDir);

}  // namespace UpdateInstallation
