// platform/Random.h: the program's one deterministic random-number source.
#pragma once

namespace ravel
{

/// A uniformly distributed value between min (inclusive) and max; the two are swapped when min > max.
/// The generator starts at the same state in every run, so every run draws the same sequence.
float RandomRange(float min, float max);

/// A uniformly distributed value in [0, 1), taking two draws of the generator.
double RandomUnit();

/// Sets the generator state (it starts at 4660); a state of 0 would stick at 0 and is replaced by 1.
void SeedRandom(int seed);

/// The current generator state.
int RandomSeed();

} // namespace ravel
