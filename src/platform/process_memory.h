#pragma once

namespace tintavo {

// The allocator gives the heap's free top back to the system as it is freed,
// rather than after a threshold that rises with the largest block freed.
// Called first thing in main(); does nothing where the allocator has no such
// setting.
void trimHeapAsFreed();

// Hands the memory the heap holds free back to the system now.
void releaseFreeHeap();

} // namespace tintavo
