#pragma once

#include <sys/stat.h>
#include <QFile>
#include <QString>

// The mode of what `path` names itself (a symlink's own, never its target's); -1 when nothing is there.
inline int modeOf(const QString& path) {
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// This process's umask for as long as the object lives.
struct ProcessUmask {
    explicit ProcessUmask(mode_t mask) : saved(::umask(mask)) {}
    ~ProcessUmask() { ::umask(saved); }
    ProcessUmask(const ProcessUmask&) = delete;
    ProcessUmask& operator=(const ProcessUmask&) = delete;
    mode_t saved;
};
