#include "platform/OwnFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

namespace OwnFiles {

namespace {

// Deeper than any tree the clock or Qt keeps; a deeper one is tightened down to here.
constexpr int kMaxDepth = 24;

QByteArray parentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// A folder whose entries no other account can rename or replace: the user's, root's, or sticky (/tmp).
bool holdsSafely(const QByteArray& folder) {
    struct stat st;
    if (::stat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return st.st_uid == ::geteuid() || st.st_uid == 0 || (st.st_mode & S_ISVTX);
}

// The folder is this account's, in a folder that holds it safely. A symlink counts when the user made it:
// where their folder lives is theirs to choose.
bool isOwn(const QByteArray& path) {
    struct stat link, target;
    if (::lstat(path.constData(), &link) != 0 || ::stat(path.constData(), &target) != 0) return false;
    const uid_t me = ::geteuid();
    if (!S_ISDIR(target.st_mode) || target.st_uid != me) return false;
    if (S_ISLNK(link.st_mode) && link.st_uid != me) return false;
    return holdsSafely(parentOf(path));
}

// Group and other bits off an entry of `folder` (or of the working folder), never through a symlink.
void tightenEntry(int folder, const char* name, const struct stat& st) {
    if (st.st_uid != ::geteuid() || !(st.st_mode & 077)) return;
    ::fchmodat(folder, name, st.st_mode & 0700, AT_SYMLINK_NOFOLLOW);
}

void tightenFolder(int folder, int depth) {
    struct stat st;
    if (::fstat(folder, &st) != 0 || st.st_uid != ::geteuid()) return;
    if (st.st_mode & 077) ::fchmod(folder, st.st_mode & 0700);
    if (depth >= kMaxDepth) return;
    const int listing = ::dup(folder);
    DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!entries) {
        if (listing >= 0) ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode)) {
            tightenEntry(folder, name, st);
        } else if (S_ISDIR(st.st_mode)) {
            const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner < 0) continue;
            tightenFolder(inner, depth + 1);
            ::close(inner);
        }
    }
    ::closedir(entries);
}

bool makeFolderAt(const QByteArray& path, mode_t mode, bool tightenExisting) {
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) {
        if (errno != ENOENT) return false;
        const QByteArray parent = parentOf(path);
        const bool parentMissing = ::lstat(parent.constData(), &st) != 0 && errno == ENOENT;
        if (parentMissing ? !makeFolderAt(parent, mode, false) : !holdsSafely(parent)) return false;
        if (::mkdir(path.constData(), mode) == 0) {
            // The umask may have taken more than the mode leaves, or (0 and the like) nothing at all.
            ::fchmodat(AT_FDCWD, path.constData(), mode, AT_SYMLINK_NOFOLLOW);
        } else if (errno != EEXIST) {
            return false;
        }
    } else if (tightenExisting && S_ISDIR(st.st_mode)) {
        tightenEntry(AT_FDCWD, path.constData(), st);
    }
    return isOwn(path);
}

}  // namespace

bool makeFolder(const QString& path, Access access) {
    if (path.isEmpty()) return false;
    const QByteArray absolute = QFile::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    return makeFolderAt(absolute, access == Access::Private ? 0700 : 0755, access == Access::Private);
}

bool setMode(QFileDevice& file, Access access) {
    QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (access == Access::Desktop) mode |= QFileDevice::ReadGroup | QFileDevice::ReadOther;
    return file.setPermissions(mode);
}

bool commit(QSaveFile& file) {
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool createFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const bool set = ::fchmod(fd, 0600) == 0;
        ::close(fd);
        return set;
    }
    if (errno != EEXIST) return false;
    tighten(path);
    return true;
}

void tighten(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) return;
    if (S_ISREG(st.st_mode)) {
        tightenEntry(AT_FDCWD, name.constData(), st);
    } else if (S_ISDIR(st.st_mode)) {
        const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder < 0) return;
        tightenFolder(folder, 0);
        ::close(folder);
    }
}

void tightenOwnFolders() {
    for (const auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::GenericDataLocation,
                                QStandardPaths::GenericCacheLocation}) {
        const QString base = QStandardPaths::writableLocation(location);
        if (!base.isEmpty()) tighten(base + QStringLiteral("/Orvane"));
    }
}

bool removeTree(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) return QFile::remove(path);
    return !info.exists() || QDir(path).removeRecursively();
}

}  // namespace OwnFiles
