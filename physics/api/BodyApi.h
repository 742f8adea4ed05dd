// physics/api/BodyApi.h: free forms of the constraint group's operations, Body<Op> for TBody::<Op>.
#pragma once
#include "physics/TBody.h"
#include "platform/TList.h"

#include <memory>
#include <string>

namespace ravel
{

// The group comes first; an indexed body passes for one. A null group does nothing and gives 0, "" or
// null.

/// A new empty group, as constructing one gives.
inline TBodyRef BodyCreate()
{
    return std::make_shared<TBody>();
}
///@{
/// TBody::SetName, TBody::GetName; "" for a null group. BodySetName returns 0.
inline int BodySetName(const TBodyRef& b, const std::string& n)
{
    if (b)
        b->SetName(n);
    return 0;
}
inline std::string BodyGetName(const TBodyRef& b)
{
    return b ? b->GetName() : std::string();
}
///@}
/// TBody::GetConstraints: a new list of the group's constraints; null for a null group.
inline TListRef<TConstraintRef> BodyGetConstraints(const TBodyRef& b)
{
    return b ? b->GetConstraints() : nullptr;
}
/// TBody::Clear: gives back every constraint's count and empties the group. Returns 0.
inline int BodyClear(const TBodyRef& b)
{
    if (b)
        b->Clear();
    return 0;
}

} // namespace ravel
