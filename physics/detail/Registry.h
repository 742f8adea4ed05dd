// physics/detail/Registry.h: a counter that tells the step when the world's registries have changed.
#pragma once
#include <cstdint>

namespace ravel::detail
{

/// Bumped whenever a mass or constraint joins or leaves massList or constraintList, or the lists are
/// replaced, so the step can keep flat copies of them from pass to pass and step to step.
extern std::uint64_t registryVersion;

} // namespace ravel::detail
