// physics/detail/Step.h: what the step keeps between its stages and from step to step.
#pragma once
#include "physics/Refs.h"

#include <cstdint>
#include <vector>

namespace ravel::detail
{

/// The step in progress, and its flat copies of the registries, kept from step to step so that a
/// settled scene steps without allocating.
struct StepState
{
    int running = 0; ///< 1 while TPhysics::Update runs; an Update called from inside returns at once
    /// Masses the running step still points at whose other owners let go of them (they left
    /// massList, or a hook dropped them); kept alive until the step ends.
    std::vector<TMassRef> kept;
    std::vector<TMass*> masses;            ///< massList in order, as of registry version massesAt
    std::vector<TConstraint*> constraints; ///< constraintList in order, as of constraintsAt
    std::uint64_t massesAt = 0;
    std::uint64_t constraintsAt = 0;
    /// The lists the copies were taken from: a program may put other lists in massList and
    /// constraintList between steps (two worlds stepped in turn) without the library seeing it.
    const void* massesOf = nullptr;
    const void* constraintsOf = nullptr;
};
extern StepState step;

} // namespace ravel::detail
