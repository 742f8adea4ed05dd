// physics/detail/Grid.h: the cells of the world's spatial grid.
#pragma once
#include "physics/detail/Contact.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace ravel
{
class TMass;

namespace detail
{

// A box holding the positions of a cell's masses and their largest radius. It is taken afresh at the
// start of each pass and only grows after that, as masses are filed in or move; a mass that leaves
// does not shrink it. A neighbour walk that finds its mass farther from the box than the two radii
// can reach skips the cell: no mass in it can pass the box test. A NaN position opens the box to the
// whole plane, since a NaN passes no "apart" test.
struct CellBounds
{
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f, maxRadius = 0.0f;

    void Clear()
    {
        minX = minY = std::numeric_limits<float>::infinity();
        maxX = maxY = -std::numeric_limits<float>::infinity();
        maxRadius = 0.0f;
    }
    void Cover(float x, float y)
    {
        if (x < minX)
            minX = x;
        if (x > maxX)
            maxX = x;
        if (y < minY)
            minY = y;
        if (y > maxY)
            maxY = y;
        if (x != x || y != y)
        {
            minX = minY = -std::numeric_limits<float>::infinity();
            maxX = maxY = std::numeric_limits<float>::infinity();
        }
    }
    void Cover(float x, float y, float radius)
    {
        Cover(x, y);
        if (radius > maxRadius)
            maxRadius = radius;
    }
    // True when a mass at (x, y) of this radius passes the box test with none of the cell's masses.
    // Rounding is monotonic, so x - maxX > radius + maxRadius implies |xo - x| > radius + ro for every
    // mass o with xo <= maxX and ro <= maxRadius, in floats as well.
    bool Apart(float x, float y, float radius) const
    {
        float reach = radius + maxRadius;
        return x - maxX > reach || minX - x > reach || y - maxY > reach || minY - y > reach;
    }
};

// What the neighbour walk needs to reject a filed mass: its position, radius and group as they were
// when last copied. Most candidates fail the group rule or the box test, and these copies let the
// walk find that out without reaching the mass itself.
struct SlotCopy
{
    float x, y, radius, group;
};

// The first of copies[k] to copies[n - 1] that passes the box test and the group rule against a mass
// at (x, y) of this radius and group; n when none does. The box test is evaluated as a contact
// evaluates it, so a copy equal to its mass gets the mass's answer.
inline std::size_t NextReached(const SlotCopy* copies, std::size_t k, std::size_t n, float x, float y,
                               float radius, float group)
{
    for (; k < n; ++k)
    {
        const SlotCopy& c = copies[k];
        float r = radius + c.radius;
        bool near = !(std::fabs(c.x - x) > r) && !(std::fabs(c.y - y) > r);
        if (near && GroupsCollide(group, c.group))
            return k;
    }
    return n;
}

// One grid cell: the masses filed in it, in filing order, side by side in one array so that the
// neighbour walk reads them as a stream instead of chasing a link per mass, and beside it, slot for
// slot, a copy of each mass's position, radius and group. The live masses are `slots[begin]` to the
// end. In a pass every mass is re-filed in list order, which takes the oldest mass of its cell and
// appends it: that is a step of `begin` and a push, and the dead front is reclaimed once it outgrows
// the live part. The arrays keep their storage, so a settled scene files and unfiles without
// allocating. A cell does not own its masses. During a pass it also keeps the bounds of its masses.
//
// The copies are written when a mass is filed, taken afresh for every filed mass at the start of each
// pass (with the bounds) and rewritten for both masses of every contact in the walk; while no user
// code has run in the pass, they equal the masses' own fields. Once it has, the walk reads the masses.
struct GridCell
{
    std::vector<TMass*> slots;
    std::vector<SlotCopy> copies; ///< same length and order as `slots`
    std::size_t begin = 0;
    CellBounds bounds;

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

    void Append(TMass* m, const SlotCopy& copy)
    {
        slots.push_back(m);
        copies.push_back(copy);
    }

    // Takes the mass out, keeping the order of the others; no-op for a mass not in the cell. The
    // oldest mass, the one a pass re-files, only steps `begin`.
    void Remove(const TMass* m)
    {
        if (begin == slots.size() || slots[begin] != m)
        {
            RemoveLater(m);
            return;
        }
        ++begin;
        if (begin == slots.size())
        {
            slots.clear();
            copies.clear();
            begin = 0;
        }
        else if (begin >= 16 && begin * 2 >= slots.size())
            DropFront();
    }

  private:
    // Reclaims the dead front once it outgrows the live part.
    [[gnu::noinline]] void DropFront()
    {
        slots.erase(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(begin));
        copies.erase(copies.begin(), copies.begin() + static_cast<std::ptrdiff_t>(begin));
        begin = 0;
    }
    // Takes out a mass behind the oldest, if it is in the cell.
    [[gnu::noinline]] void RemoveLater(const TMass* m)
    {
        std::size_t k = static_cast<std::size_t>(Find(m) - slots.data());
        if (k == slots.size())
            return;
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(k));
        copies.erase(copies.begin() + static_cast<std::ptrdiff_t>(k));
    }
};

} // namespace detail
} // namespace ravel
