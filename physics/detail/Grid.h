// physics/detail/Grid.h: the cells of the world's spatial grid, threaded through the masses themselves.
#pragma once

namespace ravel
{
class TMass;

namespace detail
{

// One grid cell: an insertion-ordered list of the masses filed in it. The links live in the masses,
// so walking a cell touches only the masses and filing or unfiling one takes constant time without
// allocating. A cell does not own its masses.
struct GridCell
{
    TMass* first = nullptr;
    TMass* last = nullptr;
};

// A mass's place in its cell. `cell` is null while the mass is filed nowhere; a world that is
// destroyed unfiles its masses first, so a non-null cell always belongs to a live world.
struct GridLink
{
    TMass* prev = nullptr;
    TMass* next = nullptr;
    GridCell* cell = nullptr;
};

} // namespace detail
} // namespace ravel
