#include "platform/IdleMemory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <cstdio>
#include <cstring>

namespace {

// Read-only private mappings of real files: program and library code and constant data, much of it used only
// while a face was being built or shown. Writable ones, shared memory (the display's buffers, memfd) and
// anything without a file (heap, stacks) are left as they are.
bool readOnlyFileMapping(const char* line, unsigned long& start, unsigned long& end) {
    char perms[5] = {};
    unsigned long inode = 0;
    int path = 0;
    if (std::sscanf(line, "%lx-%lx %4s %*s %*s %lu %n", &start, &end, perms, &inode, &path) < 4) return false;
    return inode != 0 && perms[1] != 'w' && perms[3] == 'p' && line[path] == '/' &&
           !std::strstr(line + path, "memfd:");
}

}  // namespace

namespace IdleMemory {

void release() {
    ::malloc_trim(0);
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return;
    char line[512];
    bool atLineStart = true;
    while (std::fgets(line, sizeof line, maps)) {
        // The rest of a line longer than the buffer (a long path) describes no mapping of its own.
        const bool wholeLine = atLineStart;
        atLineStart = std::strchr(line, '\n') != nullptr;
        unsigned long start = 0;
        unsigned long end = 0;
        // Cold, never discarded: such a mapping may hold this process's own copy of a page (a library's
        // relocated data), in memory or in swap, and between this read and the advice another thread may
        // have mapped something else there. Cold pages keep their contents wherever the kernel puts them;
        // they are only the first it reclaims when memory runs short.
        if (wholeLine && readOnlyFileMapping(line, start, end))
            ::madvise(reinterpret_cast<void*>(start), end - start, MADV_COLD);
    }
    std::fclose(maps);
}

void trimHeap() {
    ::malloc_trim(0);
}

}  // namespace IdleMemory
