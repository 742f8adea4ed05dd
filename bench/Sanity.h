// bench/Sanity.h: what a scene looks like after the timed steps, measured the same way for the
// library, its kernel and the other engines, so that their figures can be checked to be the same
// work: how many pairs of masses touch, how deep the worst overlap is, where the lowest and highest
// points are and how far the sticks are from their rest lengths.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ravel::bench
{

/// A mass as it stands: centre, radius and collision group (0 meets no other mass, masses of one
/// group do not meet each other), in world units.
struct Disc
{
    double x = 0.0;
    double y = 0.0;
    double radius = 0.0;
    int group = 0;
};

/// A stick between discs a and b and the length it was made with.
struct Rest
{
    int a = 0;
    int b = 0;
    double length = 0.0;
};

/// Two discs touch when they may collide and their centres are closer than the sum of their radii.
/// The engines leave a resting contact in different states: the library pushes a pair exactly apart
/// within its pass, so a resting pair ends the step at the sum of the radii or a little beyond it
/// once later contacts have moved the masses, while Box2D and Chipmunk leave a resting pair
/// overlapping by their slop (0.25 and 0.1 units). Pairs also count as near when the gap between
/// them is less than this margin, a tenth of the smallest radius (6).
inline constexpr double kNearMargin = 0.6;

/// A stick is strained when its length is more than half its rest length away from it.
inline constexpr double kStrained = 0.5;

struct Sanity
{
    int touching = 0;     ///< pairs that may collide, closer than the sum of their radii
    int near = 0;         ///< such pairs with a gap of less than kNearMargin, touching ones included
    double overlap = 0.0; ///< the deepest overlap of two such pairs
    double top = 0.0;     ///< the highest point of any disc (y grows downwards)
    double bottom = 0.0;  ///< the lowest point of any disc
    double stretch = 0.0; ///< the largest relative error of a stick's length
    int strained = 0;     ///< sticks whose relative error exceeds kStrained
};

inline Sanity Inspect(const std::vector<Disc>& discs, const std::vector<Rest>& sticks)
{
    Sanity s;
    s.top = INFINITY;
    s.bottom = -INFINITY;
    // Sorted by x, each disc need only look at the discs that start less than its reach to its right.
    std::vector<const Disc*> sorted;
    sorted.reserve(discs.size());
    double largest = 0.0;
    for (const Disc& d : discs)
    {
        sorted.push_back(&d);
        largest = std::max(largest, d.radius);
        s.top = std::min(s.top, d.y - d.radius);
        s.bottom = std::max(s.bottom, d.y + d.radius);
    }
    std::sort(sorted.begin(), sorted.end(), [](const Disc* a, const Disc* b) { return a->x < b->x; });
    for (std::size_t i = 0; i < sorted.size(); ++i)
    {
        const Disc& a = *sorted[i];
        if (a.group == 0)
            continue;
        for (std::size_t j = i + 1; j < sorted.size(); ++j)
        {
            const Disc& b = *sorted[j];
            double dx = b.x - a.x;
            if (dx >= a.radius + largest + kNearMargin)
                break;
            if (b.group == 0 || b.group == a.group)
                continue;
            double reach = a.radius + b.radius;
            double dy = b.y - a.y;
            double d = std::sqrt(dx * dx + dy * dy);
            s.touching += d < reach ? 1 : 0;
            s.near += d < reach + kNearMargin ? 1 : 0;
            s.overlap = std::max(s.overlap, reach - d);
        }
    }
    for (const Rest& r : sticks)
    {
        double d = std::hypot(discs[r.b].x - discs[r.a].x, discs[r.b].y - discs[r.a].y);
        double error = std::fabs(d - r.length) / r.length;
        s.stretch = std::max(s.stretch, error);
        s.strained += error > kStrained ? 1 : 0;
    }
    return s;
}

/// Adds the figures to a benchmark's counters (top is for callers that want the height).
inline void Report(benchmark::State& state, const Sanity& s)
{
    state.counters["touching"] = s.touching;
    state.counters["overlap"] = s.overlap;
    state.counters["bottom"] = s.bottom;
    state.counters["near"] = s.near;
    state.counters["stretch"] = s.stretch;
    state.counters["strained"] = s.strained;
}

} // namespace ravel::bench
