// physics/detail/Registry.h: how masses and constraints join and leave the current world's registries.
#pragma once
#include "physics/Refs.h"
#include "platform/TList.h"

#include <cstdint>

namespace ravel::detail
{

/// What the library knows of the registries it changes. Masses and constraints join and leave them
/// only through Enlist and Delist, and worlds replace them only through Replace, so `version` tells
/// the step when its flat copies of the registries must be taken again, and `generation` tells a
/// mass or constraint whether the registries it joined are still the current ones.
struct RegistryState
{
    std::uint64_t version = 1;    ///< changes with every join, leave and replacement
    std::uint32_t generation = 1; ///< changes with every replacement (a world made or freed)
};
extern RegistryState registry;

///@{
/// Appends the object to its registry of the current world and returns the link that removes it.
TLink Enlist(TList<TMassRef>& masses, TMassRef m);
TLink Enlist(TList<TConstraintRef>& constraints, TConstraintRef c);
///@}
/// Takes an object out of its registry through its link; nothing if it is no longer there.
void Delist(TLink& link);
/// Installs fresh, empty registries (a world made) or none (the world freed).
void ReplaceRegistries(bool fresh);

} // namespace ravel::detail
