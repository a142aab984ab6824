#include <gtest/gtest.h>

#include "OwnMappings.h"
#include "platform/IdleMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sysinfo.h>
#include <unistd.h>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const long kPage = ::sysconf(_SC_PAGESIZE);

// Resident kilobytes of the mapping that holds `address`.
long residentKb(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    return mappingKb(
        [at](const QByteArray& header) {
            const QList<QByteArray> range = header.left(header.indexOf(' ')).split('-');
            return range.size() == 2 && range[0].toULongLong(nullptr, 16) <= at &&
                   at < range[1].toULongLong(nullptr, 16);
        },
        "Rss:");
}

// Whether the page at `address` sits in swap (bit 62 of its /proc/self/pagemap entry).
bool inSwap(const void* address) {
    const int pagemap = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    std::uint64_t entry = 0;
    const auto offset = off_t(reinterpret_cast<std::uintptr_t>(address) / kPage * sizeof entry);
    const bool read = pagemap >= 0 && ::pread(pagemap, &entry, sizeof entry, offset) == sizeof entry;
    if (pagemap >= 0) ::close(pagemap);
    return read && (entry >> 62 & 1);
}

// A file of 'x' pages mapped private and read-only, whose first page this process changed before sealing the
// mapping, as the loader does with a library's relocated data.
class IdleMemoryPrivateCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file_.open());
        ASSERT_EQ(file_.write(QByteArray(size_, 'x')), size_);
        ASSERT_TRUE(file_.flush());
        void* mapped = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE, file_.handle(), 0);
        ASSERT_NE(mapped, MAP_FAILED);
        bytes_ = static_cast<char*>(mapped);
        std::memset(bytes_, 'y', kPage);
        ASSERT_EQ(::mprotect(bytes_, size_, PROT_READ), 0);
    }
    void TearDown() override {
        if (bytes_) ::munmap(bytes_, size_);
    }
    // The changed page reads as this process wrote it, the others as the file holds them.
    void expectBytesKept() const {
        EXPECT_EQ(std::count(bytes_, bytes_ + kPage, 'y'), kPage)
            << "the changed page reads the file's bytes";
        EXPECT_EQ(std::count(bytes_ + kPage, bytes_ + size_, 'x'), size_ - kPage);
    }

    QTemporaryFile file_;
    const int size_ = 16 * kPage;
    char* bytes_ = nullptr;
};

}  // namespace

TEST_F(IdleMemoryPrivateCopy, KeepsItsBytesInMemory) {
    IdleMemory::release();
    expectBytesKept();
}

// A machine under memory pressure moves the changed page to swap; it is still this process's own copy.
TEST_F(IdleMemoryPrivateCopy, KeepsItsBytesInSwap) {
    struct sysinfo memory {};
    if (::sysinfo(&memory) != 0 || memory.freeswap == 0) GTEST_SKIP() << "no free swap on this machine";
    for (int tries = 0; tries < 100 && !inSwap(bytes_); ++tries) ::madvise(bytes_, kPage, MADV_PAGEOUT);
    if (!inSwap(bytes_)) GTEST_SKIP() << "the kernel kept the changed page in memory";
    IdleMemory::release();
    expectBytesKept();
}

TEST(IdleMemory, GivesBackTheFreeHeap) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer owns the allocator";
#endif
    // Free pages between blocks still in use stay with the process until they are given back.
    std::vector<void*> blocks(2048);
    for (void*& block : blocks) block = std::memset(std::malloc(4000), 'h', 4000);
    void* const last = blocks.back();
    blocks.pop_back();
    for (void* block : blocks) std::free(block);
    const long before = residentKb(last);

    IdleMemory::release();
    EXPECT_LT(residentKb(last), before - 4096);
    std::free(last);
}
