#pragma once

#include <cstddef>

// Gives memory back once a face has been built and stands, and when the clock goes into the background (its
// window closed): the heap's free pages, and this process's hold on the read-only file pages (program and
// library code) that only building or showing the window used. Nothing is lost: only pages that are the
// unchanged bytes of their files are let go, they stay in the system's file cache, and the ones still
// running come back at their next use.
namespace IdleMemory {

// The heap's free pages and the unchanged file pages; answers how many bytes of file mappings were let go.
std::size_t release();

}  // namespace IdleMemory
