#include "platform/StoredFile.h"

#include <QFile>
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcStoredFile, "orvane.files")
}

namespace StoredFile {

std::variant<QByteArray, Problem> read(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Problem::Unreadable;
    // The size is asked first so a huge file costs nothing; the read is bounded as well, for a file that
    // grows meanwhile or a device that reports no size.
    QByteArray bytes = file.size() > maxBytes ? QByteArray() : file.read(maxBytes + 1);
    if (file.size() > maxBytes || bytes.size() > maxBytes) {
        qCWarning(lcStoredFile).noquote()
            << path << "is larger than" << maxBytes << "bytes; taken as damaged";
        return Problem::TooLarge;
    }
    if (file.error() != QFileDevice::NoError) return Problem::Unreadable;
    return bytes;
}

std::optional<QByteArray> readWithin(const QString& path, qint64 maxBytes) {
    std::variant<QByteArray, Problem> result = read(path, maxBytes);
    if (QByteArray* bytes = std::get_if<QByteArray>(&result)) return std::move(*bytes);
    return std::nullopt;
}

}  // namespace StoredFile
