// platform/Poison.h: marking memory that a recycling pool holds free, for AddressSanitizer.
#pragma once
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define RAVEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAVEL_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef RAVEL_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace ravel::detail
{

/// True in a build under AddressSanitizer, where pools poison what they hold free.
constexpr bool kAddressSanitizer =
#ifdef RAVEL_ADDRESS_SANITIZER
    true;
#else
    false;
#endif

// A pool's free memory is poisoned while it waits in the pool, so that reading or writing an object
// after it was destroyed is reported as a use after free would be. Without the sanitizer both do
// nothing.
inline void PoisonFree(const void* p, std::size_t n)
{
#ifdef RAVEL_ADDRESS_SANITIZER
    ASAN_POISON_MEMORY_REGION(p, n);
#else
    (void)p;
    (void)n;
#endif
}

inline void UnpoisonTaken(const void* p, std::size_t n)
{
#ifdef RAVEL_ADDRESS_SANITIZER
    ASAN_UNPOISON_MEMORY_REGION(p, n);
#else
    (void)p;
    (void)n;
#endif
}

} // namespace ravel::detail
