#include "app/MemoryReuse.h"

#include <cstdlib> // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sedilo::session {

namespace {

// The heap grows in steps of this much and shrinks only past this much free.
constexpr int kGrowthStep = 64 << 20;
constexpr int kKeptFree = 1 << 30;

} // namespace

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_TOP_PAD, kGrowthStep);
    mallopt(M_TRIM_THRESHOLD, kKeptFree);
#endif
}

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace sedilo::session
