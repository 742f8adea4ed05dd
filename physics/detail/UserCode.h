// physics/detail/UserCode.h: calls from the library into application code (event hooks and zone
// responses), and what the step keeps so that such code may change anything while it runs.
#pragma once
#include "physics/Refs.h"

#include <cstdint>
#include <vector>

namespace ravel::detail
{

// Counts calls out to user code. Such code may move any mass, add, remove or free masses,
// constraints, zones, hooks and bodies, and free or replace the world. A walk that finds the count
// changed stops trusting what it took before the call: the cells' bounds, and whether the entries it
// is about to visit are still there.
extern std::uint64_t userCalls;

// Event hooks installed; while there are none, a contact between two masses calls no user code.
extern int hooksInstalled;

/// Called right before every call into user code.
inline void EnterUserCode()
{
    ++userCalls;
}

// The step in progress.
struct StepState
{
    int running = 0; ///< 1 while TPhysics::Update runs; an Update called from inside returns at once
    /// Masses that left massList while the step ran. The step's pass still holds them in its array, so
    /// they are kept alive until the step ends.
    std::vector<TMassRef> released;
};
extern StepState step;

} // namespace ravel::detail
