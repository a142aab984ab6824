#include "ProbeOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

char* ProbeOutput::reserve(std::size_t size) {
    if (size > buffer_.size() - used_) flush();
    return buffer_.data() + used_;
}

void ProbeOutput::write(const QByteArray& bytes) {
    const char* data = bytes.constData();
    std::size_t left = std::size_t(bytes.size());
    while (left > 0) {
        const std::size_t piece = std::min(left, kMaxPiece);
        char* to = reserve(piece);
        std::memcpy(to, data, piece);
        commit(to + piece);
        data += piece;
        left -= piece;
    }
}

void ProbeOutput::flush() {
    if (used_ > 0 && std::fwrite(buffer_.data(), 1, used_, stdout) != used_) failed_ = true;
    used_ = 0;
}

bool ProbeOutput::finish() {
    flush();
    return std::fflush(stdout) == 0 && !failed_;
}
