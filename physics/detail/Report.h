// physics/detail/Report.h: how the step's posters hand a contact to the event queue.
#pragma once

namespace ravel
{
class TMass;
class TObject;

namespace detail
{

/// The same as TColEvent::Emit(TColEvent::Create(mass, other, x, y, force)), without making an event
/// object when the pair already has one and no hook needs to see it.
void ReportContact(TMass& mass, TObject& other, float x, float y, float force);

} // namespace detail
} // namespace ravel
