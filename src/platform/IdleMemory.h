#pragma once

// Gives memory back once a face has been built and stands, and when the clock goes into the background (its
// window closed): the heap's free pages go back at once, and the read-only file pages (program and library
// code and data) that mostly only building or showing the window used become the first the kernel reclaims
// when memory runs short. Nothing is lost: the kernel is asked to reclaim, never to discard, so a page that
// holds this process's own copy (in memory or in swap) keeps its bytes, and a reclaimed page comes back at
// its next use.
namespace IdleMemory {

// The heap's free pages, and the read-only file pages marked cold.
void release();

// Only the heap's free pages, for a moment that freed a lot while the window and the code it runs stay in
// use (the end of a call).
void trimHeap();

}  // namespace IdleMemory
