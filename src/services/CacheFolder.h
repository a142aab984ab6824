#pragma once

#include <QByteArray>
#include <QString>

// What the disk caches of remote assets share: their folder under the data folder ("Orvane/<name>") and
// atomic writes. Their sync stamps live in the response cache (NetworkDiscipline).
namespace CacheFolder {

// $XDG_DATA_HOME/Orvane/<name>, or the same under the temporary folder when no data folder can be had
// (where writes go only while another account does not hold "Orvane" there first).
QString path(const QString& name);

// Replaces the file in one step (a temporary file renamed over it), creating the folder; the user's alone
// (0600 in 0700 folders). False on any failure, in which case the previous file is untouched.
bool writeAtomically(const QString& filePath, const QByteArray& bytes);

}  // namespace CacheFolder
