// physics/detail/World.h: the world as the library keeps it: the settings of TPhysics and the grid.
#pragma once
#include "physics/TPhysics.h"
#include "physics/detail/Grid.h"

namespace ravel::detail
{

/// Every world is one of these: TPhysics::Create makes them, and `world` holds nothing else.
struct World final : TPhysics
{
    World() = default;
    /// Unfiles the masses still in its grid, so they can be re-filed or destroyed later.
    ~World() override;

    /// The cells, [column][row]. They do not own their masses: a mass unfiles itself when it is
    /// destroyed, and the world unfiles the rest when it is destroyed.
    GridCell shiftgrid[MAX_GRID][MAX_GRID];
};

/// The current world's grid and settings; null while there is no world.
inline World* CurrentWorld()
{
    return static_cast<World*>(world.get());
}

} // namespace ravel::detail
