// physics/detail/Grid.h: the cells of the world's spatial grid.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravel
{
class TMass;

namespace detail
{

// Counts every change to any cell's contents. A walk over a cell that hands control to a hook
// compares it before and after to learn whether the cell may have shifted under it.
extern std::uint64_t gridEdits;

// One grid cell: the masses filed in it, in filing order, side by side in one array so that the
// neighbour walk reads them as a stream instead of chasing a link per mass. The live masses are
// `slots[begin]` to the end. In a pass every mass is re-filed in list order, which takes the oldest
// mass of its cell and appends it: that is a step of `begin` and a push, and the dead front is
// reclaimed once it outgrows the live part. The array keeps its storage, so a settled scene files and
// unfiles without allocating. A cell does not own its masses.
struct GridCell
{
    std::vector<TMass*> slots;
    std::size_t begin = 0;

    TMass* const* First() const { return slots.data() + begin; }
    TMass* const* End() const { return slots.data() + slots.size(); }
    std::size_t Count() const { return slots.size() - begin; }
    TMass* const* Find(const TMass* m) const
    {
        TMass* const* p = First();
        while (p != End() && *p != m)
            ++p;
        return p;
    }

    void Append(TMass* m) { slots.push_back(m); }

    // Takes the mass out, keeping the order of the others; no-op for a mass not in the cell.
    void Remove(const TMass* m)
    {
        std::size_t k = static_cast<std::size_t>(Find(m) - slots.data());
        if (k == slots.size())
            return;
        if (k == begin)
        {
            ++begin;
            if (begin == slots.size())
            {
                slots.clear();
                begin = 0;
            }
            else if (begin >= 16 && begin * 2 >= slots.size())
            {
                slots.erase(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(begin));
                begin = 0;
            }
            return;
        }
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(k));
    }
};

// The cell a mass is filed in, null while it is filed nowhere. A world that is destroyed unfiles its
// masses first, so a non-null cell always belongs to a live world. The mass's place in the cell is
// found by looking: cells hold a handful of masses, and not keeping an index saves rewriting the
// index of every mass behind it whenever one leaves.
struct GridLink
{
    GridCell* cell = nullptr;
};

} // namespace detail
} // namespace ravel
