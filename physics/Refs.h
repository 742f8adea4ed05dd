// physics/Refs.h: the shared handles of the library's object types, declared without their classes.
#pragma once
#include <memory>

namespace ravel
{

class TObject;
class TPhysics;
class TMass;
class TConstraint;
class TBody;
class TZone;
class TColEvent;

///@{
/// A shared handle on a library object. Every object of the library is owned through these: the
/// factories (Create, Load, Copy) return them, null meaning "none". Objects may hold each other's
/// handles freely but never in a cycle, so releasing the last handle frees an object.
using TObjectRef = std::shared_ptr<TObject>;
using TPhysicsRef = std::shared_ptr<TPhysics>;
using TMassRef = std::shared_ptr<TMass>;
using TConstraintRef = std::shared_ptr<TConstraint>;
using TBodyRef = std::shared_ptr<TBody>;
using TZoneRef = std::shared_ptr<TZone>;
using TColEventRef = std::shared_ptr<TColEvent>;
///@}

} // namespace ravel
