// physics/detail/Report.h: how the step's posters hand a contact to the event queue, and how the queue
// learns that an object its records name is let go of.
#pragma once

namespace ravel
{
class TMass;
class TPhysics;
class TZone;

namespace detail
{

///@{
/// The same as TColEvent::Emit(TColEvent::Create(mass, other, x, y, force)). Without hooks the queue
/// records the contact as plain data (the two objects by address and the numbers) and makes the event
/// only when the application asks for it; a repeated pair updates its record.
void ReportContact(TMass& mass, TMass& other, float x, float y, float force);
void ReportContact(TMass& mass, TZone& zone, float x, float y, float force);
void ReportContact(TMass& mass, TPhysics& bounds, float x, float y, float force);
///@}

///@{
/// A registry is about to let go of the object: if a record of this step names it, the queue holds it
/// until the flush, as the record's event would.
void KeepForEvents(TMass& m);
void KeepForEvents(TZone& z);
///@}
/// The same for the current world and every mass and zone of its registries, which are about to be
/// replaced.
void KeepRegistriesForEvents();

///@{
/// The object is being destroyed. Records of this step that name it without an event get their event
/// now, with null in its place; this happens only when something other than the library's own ways
/// (SubRef, TZone::Free, new registries) let go of it, such as a program editing massList by hand.
void OrphanEvents(TMass& m);
void OrphanEvents(TZone& z);
void OrphanEvents(TPhysics& w);
///@}

} // namespace detail
} // namespace ravel
