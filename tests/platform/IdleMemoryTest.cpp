#include <gtest/gtest.h>

#include "platform/IdleMemory.h"

#include <sys/mman.h>
#include <QFile>
#include <QTemporaryFile>
#include <cstdio>
#include <cstring>

namespace {

// Resident kilobytes of the mapping that starts at `start`, as /proc/self/smaps tells.
long residentKb(const void* start) {
    char head[32];
    std::snprintf(head, sizeof head, "%lx-", reinterpret_cast<unsigned long>(start));
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return -1;
    bool inside = false;
    for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
        if (!line.contains(':') || line.indexOf(' ') < line.indexOf(':'))
            inside = line.startsWith(head);
        else if (inside && line.startsWith("Rss:"))
            return line.mid(4).trimmed().split(' ').first().toLong();
    }
    return -1;
}

}  // namespace

// What a closed window leaves behind: a file mapping's pages go and read back unchanged; the heap stays.
TEST(IdleMemory, LetsGoOfUnchangedFilePagesAndLosesNothing) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const QByteArray bytes(1 << 20, 'x');
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(file.flush());
    void* mapped = ::mmap(nullptr, bytes.size(), PROT_READ, MAP_PRIVATE, file.handle(), 0);
    ASSERT_NE(mapped, MAP_FAILED);
    long sum = 0;
    for (int i = 0; i < bytes.size(); i += 4096) sum += static_cast<const char*>(mapped)[i];
    ASSERT_GE(residentKb(mapped), 1000);
    const std::string heap(1 << 20, 'h');

    EXPECT_GE(IdleMemory::release(), std::size_t(bytes.size()));
    EXPECT_LT(residentKb(mapped), 100);
    EXPECT_EQ(std::memcmp(mapped, bytes.constData(), bytes.size()), 0);
    EXPECT_EQ(heap, std::string(1 << 20, 'h'));
    EXPECT_EQ(sum, long('x') * (bytes.size() / 4096));
    ::munmap(mapped, bytes.size());
}
