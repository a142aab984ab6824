#pragma once

#include <cstddef>

// Gives memory back when the clock goes into the background (its window closed): the heap's free pages, and
// this process's hold on the read-only file pages (program and library code) that mostly only the window
// used. Nothing is lost: only pages that are the unchanged bytes of their files are let go, they stay in the
// system's file cache, and the few the waiting clock still runs come back at their next use.
namespace IdleMemory {

// Hands the heap's free pages back (start-up leaves many behind).
void trimHeap();

// The heap's free pages and the unchanged file pages; answers how many bytes of file mappings were let go.
std::size_t release();

}  // namespace IdleMemory
