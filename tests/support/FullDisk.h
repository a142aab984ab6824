#pragma once

#include <QByteArray>
#include <QString>

// A small file system a test can fill to its last block: a tmpfs, or ext4 with 1 KiB blocks on a loop
// image. It is mounted in a mount namespace of a child run of the test program, so nothing outlives the
// child and nothing is mounted for the rest of the machine.
namespace FullDisk {

enum class Kind { Tmpfs, Ext4SmallBlocks };

struct ChildRun {
    QString skipped;  // why the file system could not be made here; empty when the child ran
    bool passed = false;
    QByteArray output;
};

// In the test: runs the test program's test `childTest` in a mount namespace of its own, where
// mountRequested() mounts a file system of `kind` at `folder` (made and empty).
ChildRun runChild(const QString& childTest, Kind kind, const QString& folder);

// In the child: mounts what the test asked for and gives its folder; an empty folder with the reason in
// `why` when it cannot be made, or when this is no such child.
QString mountRequested(QString* why);

// Writes a filler file in `folder` until the file system refuses another byte; gives the filler's path.
QString fill(const QString& folder);

}  // namespace FullDisk
