#include "platform/IdleMemory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <cstdio>
#include <cstring>

namespace {

// One mapping of /proc/self/smaps as far as the release needs it.
struct Mapping {
    unsigned long start = 0;
    unsigned long end = 0;
    bool candidate = false;
};

// Read-only private mappings of real files: their pages are the file's own bytes, so dropping them from
// this process loses nothing. Writable ones, shared memory (the display's buffers, memfd) and anything
// without a file (heap, stacks, anonymous memory) stay.
bool fileBackedReadOnly(const char* line, Mapping& mapping) {
    char perms[5] = {};
    unsigned long inode = 0;
    int path = 0;
    if (std::sscanf(line, "%lx-%lx %4s %*s %*s %lu %n", &mapping.start, &mapping.end, perms, &inode, &path) <
        4)
        return false;
    return inode != 0 && perms[1] != 'w' && perms[3] == 'p' && line[path] == '/' &&
           !std::strstr(line + path, "memfd:");
}

}  // namespace

namespace IdleMemory {

std::size_t release() {
    ::malloc_trim(0);
    std::FILE* smaps = std::fopen("/proc/self/smaps", "re");
    if (!smaps) return 0;
    std::size_t dropped = 0;
    Mapping mapping;
    char line[512];
    while (std::fgets(line, sizeof line, smaps)) {
        const char* space = std::strchr(line, ' ');
        const char* colon = std::strchr(line, ':');
        if (!colon || (space && space < colon)) {
            // A mapping's first line; its details follow.
            mapping = Mapping{};
            mapping.candidate = fileBackedReadOnly(line, mapping);
            continue;
        }
        unsigned long anonymousKb = 0;
        if (!mapping.candidate || std::sscanf(line, "Anonymous: %lu kB", &anonymousKb) != 1) continue;
        mapping.candidate = false;
        // A page the loader wrote to (relocations) is this process's own copy: such a mapping stays.
        if (anonymousKb == 0 && ::madvise(reinterpret_cast<void*>(mapping.start), mapping.end - mapping.start,
                                          MADV_DONTNEED) == 0)
            dropped += mapping.end - mapping.start;
    }
    std::fclose(smaps);
    return dropped;
}

}  // namespace IdleMemory
