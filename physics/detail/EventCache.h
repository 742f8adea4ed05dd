// physics/detail/EventCache.h: the events of the running step recorded beside the mass they concern.
#pragma once
#include <cstdint>

namespace ravel
{
class TColEvent;

namespace detail
{

// The queue's pair index keeps the first few events of each mass in the mass itself, which the step
// has just touched, and only the rest in its shared table. A pair of two masses is kept by the one at
// the lower address, a pair of a mass and anything else by the mass. Entries of an earlier step are
// recognised by their generation, so flushing the queue never visits the masses.
struct MassEventCache
{
    static constexpr int kSize = 4;
    std::uint64_t gen = 0; ///< generation of the queue the entries belong to
    int count = 0;         ///< entries in use in that generation
    const void* other[kSize] = {};
    TColEvent* event[kSize] = {};
};

} // namespace detail
} // namespace ravel
