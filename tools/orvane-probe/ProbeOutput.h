#pragma once

#include <QByteArray>
#include <array>
#include <cstddef>

// Standard output through one fixed buffer: a long run streams out in 64 KiB writes rather than growing one
// block as large as its whole output, and lines are written in place with no string per field.
class ProbeOutput {
  public:
    // The longest piece reserve() hands out.
    static constexpr std::size_t kMaxPiece = 4096;

    ProbeOutput() = default;
    ProbeOutput(const ProbeOutput&) = delete;
    ProbeOutput& operator=(const ProbeOutput&) = delete;

    // Room for at least `size` (at most kMaxPiece) bytes; commit() says how far the caller wrote.
    char* reserve(std::size_t size);
    void commit(const char* end) { used_ = std::size_t(end - buffer_.data()); }

    void write(const QByteArray& bytes);

    // Writes out what is buffered; false when any byte could not be written.
    bool finish();

  private:
    void flush();

    std::array<char, 64 * 1024> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};
