#pragma once

#include <QString>

class QFileDevice;
class QSaveFile;

// Where the clock keeps its own folders and files: owner-only (0700 and 0600) whatever the umask, never in a
// folder another account could empty or swap, and never deleted through a symlink. No process-wide umask is
// set, so the programs the clock starts (a browser, the install script) keep the user's own.
namespace OwnFiles {

// Private: the clock's own (0700 folders, 0600 files). Desktop: files the desktop reads (0755, 0644).
enum class Access { Private, Desktop };

// Makes `path` and its missing parents with the access's mode, and takes a private folder that exists back
// to its owner alone. False when it cannot be made or when another account owns it or the folder holding it
// (a symlink the user made is followed, never changed).
bool makeFolder(const QString& path, Access access = Access::Private);

// Gives a file just opened for writing its mode; for a QSaveFile, the copy that replaces the file.
bool setMode(QFileDevice& file, Access access = Access::Private);

// Puts a QSaveFile in place only when every byte reached the disk. Its own commit() flushes the last
// buffered bytes and renames the file over the old one even when that flush failed (a disk that filled),
// so the flush is checked first; on false the old file is left as it was.
bool commit(QSaveFile& file);

// An empty private file where none is, so that what opens it later (SQLite, with its log files) starts from
// 0600; one that is there is tightened like the rest.
bool createFile(const QString& path);

// Takes what `path` holds (a file, or a folder with everything in it) back to its owner alone: group and
// other bits go, the owner's stay. Symlinks are never followed, nor anything of another account changed.
void tighten(const QString& path);

// The clock's three folders ($XDG_CONFIG_HOME/Orvane, $XDG_DATA_HOME/Orvane, $XDG_CACHE_HOME/Orvane),
// tightened once at start-up.
void tightenOwnFolders();

// Removes a folder with everything in it. A path that is itself a symlink goes as a link: the folder it
// points to, and whatever else that holds, stays.
bool removeTree(const QString& path);

}  // namespace OwnFiles
