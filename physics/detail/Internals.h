// physics/detail/Internals.h: the library's way into the private state of its masses and constraints.
#pragma once
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TZone.h"

#include <cstdint>

namespace ravel::detail
{

struct GridCell;

/// Friend of TMass, TConstraint and TZone: what the grid, the step and the event queue keep inside them.
struct Internals
{
    /// The grid cell the mass is filed in, null while it is filed nowhere.
    static GridCell*& Cell(TMass& m) { return m.cell_; }
    /// The same, to read.
    static GridCell* Cell(const TMass& m) { return m.cell_; }
    /// Takes the mass out of its grid cell, if it is filed in one.
    static void Unfile(TMass& m) { m.Unfile(); }
    /// The first few events of this step whose pairs the mass keeps, for the queue's pair index.
    static auto& Events(TMass& m) { return m.events_; }
    /// How many events a mass keeps itself.
    static constexpr int kEventsKept = TMass::EventSlots::kSize;
    /// The generation of the registries the mass joined last.
    static std::uint32_t Joined(const TMass& m) { return m.joined_; }
    /// The last generation of the event queue in which a record without an event named the zone.
    static std::uint64_t& EventsNamed(TZone& z) { return z.eventsNamed_; }
    /// Brings a mass that is counted but outside the current world into it; its count is unchanged.
    static void Rejoin(TMass& m) { m.Rejoin(); }
};

} // namespace ravel::detail
