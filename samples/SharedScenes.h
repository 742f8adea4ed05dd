// samples/SharedScenes.h: the reference scenes the benchmarks time and the golden digests pin down,
// shown here as they are built there.
#pragma once
#include "scenes/Scenes.h"

namespace ravel::samples
{
namespace shared = ravel::scenes;
} // namespace ravel::samples
