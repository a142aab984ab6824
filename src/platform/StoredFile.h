#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

// Reads of files the clock keeps on disk, each with a size limit for its kind: a file past its limit is
// never read whole (it counts as damaged), whatever put it there.
namespace StoredFile {

enum class Problem { Unreadable, TooLarge };

// The whole file when it holds at most `maxBytes`; one log line names a file past its limit.
std::variant<QByteArray, Problem> read(const QString& path, qint64 maxBytes);

// The same with both problems as nothing.
std::optional<QByteArray> readWithin(const QString& path, qint64 maxBytes);

}  // namespace StoredFile
