#include "platform/WriteFailure.h"

#include <cerrno>
#include <cstring>

namespace WriteFailure {

QString cause(int error, const QString& fallback) {
    if (error != 0) return QString::fromLocal8Bit(std::strerror(error));
    return fallback.isEmpty() ? QStringLiteral("Unknown error") : fallback;
}

bool isDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

}  // namespace WriteFailure
