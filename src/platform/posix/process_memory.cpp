#include "platform/process_memory.h"

#include <cstdlib> // tells which C library this is: __GLIBC__

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tintavo {

void trimHeapAsFreed()
{
#ifdef __GLIBC__
    // A fixed threshold: the adaptive one rises past a large settings file's
    // size once its text is freed, and the start-up thread's heap then kept
    // the whole parse, two megabytes at 32768 swatches, for the run.
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
}

void releaseFreeHeap()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace tintavo
