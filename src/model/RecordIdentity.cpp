#include "model/RecordIdentity.h"

namespace RecordIdentity {

QString join(std::initializer_list<std::optional<QString>> parts) {
    qsizetype length = 0;
    for (const std::optional<QString>& part : parts)
        if (part) length += part->size();
    QString out;
    out.reserve(length);
    for (const std::optional<QString>& part : parts)
        if (part) out += *part;
    return out;
}

}  // namespace RecordIdentity
