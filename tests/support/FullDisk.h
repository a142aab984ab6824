#pragma once

#include <QString>

// A small file system a test can fill to its last block: a tmpfs, or ext4 with 1 KiB blocks on a loop
// image. It is mounted in a mount namespace of a child run of the test, so nothing outlives the child and
// nothing is mounted for the rest of the machine.
namespace FullDisk {

enum class Kind { Tmpfs, Ext4SmallBlocks };

constexpr qint64 kTmpfsBytes = 4 * 1024 * 1024;

// Runs the current test again as a child in a mount namespace of its own, where a fresh folder holds a file
// system of `kind` (a tmpfs of `tmpfsBytes`, the owner's alone). In that child: mounts it and gives the
// folder. In the test: gives an empty folder once the child's outcome is the test's own: failed with the
// child's output, or skipped with the reason (no namespace or mount can be made here).
QString mountedInChild(Kind kind, qint64 tmpfsBytes = kTmpfsBytes);

// Writes a filler file in `folder` until the file system refuses another byte; gives the filler's path.
QString fill(const QString& folder);

}  // namespace FullDisk
