// physics/TColEvent.h: the record of one contact and the queue that keeps one event per pair per step.
#pragma once
#include "physics/TObject.h"

namespace ravel
{

/// One reported contact: a mass (obj1) against another mass, a zone, the world's bounds or any other
/// object (obj2). The queue and its settings are module state shared by the whole library; they exist
/// before any world is made, with the mode MODE_UPDATE.
///
/// The step reports every contact it resolves, in every pass, through Emit: the hooks see each
/// report, and the queue keeps one event per pair of objects per step, merging repeats. TPhysics::Update
/// empties the queue early in the step (after moving the masses), so between steps the queue holds
/// exactly the last step's contacts, in the order each pair first touched: read them after Update
/// with Poll, Peek or Seek.
///
/// An event is a plain record: one made with std::make_shared<TColEvent>() and filled in by hand can
/// be emitted, posted and sought like one from Create (its kind is then whatever `id` was set to).
///
/// An event holds its two objects, so they live as long as it does. The step's contacts are kept as
/// plain data until an event is asked for (Poll, Peek, Seek, or a hook that sees it); meanwhile the
/// queue holds until the flush whatever the library's own ways of letting go (SubRef, TZone::Free,
/// TPhysics::Create and Free) release. A mass, zone or world that a program takes out of the
/// registries by hand instead (editing massList or zoneList, or putting other lists or another world
/// in place) and that is destroyed before the next flush leaves null in its place in such an event.
class TColEvent : public TObject
{
  public:
    static constexpr int MASS_CUSTOM = -1; ///< obj2 is none of the kinds below, or null
    static constexpr int MASS_MASS = 1;    ///< obj2 is another TMass
    static constexpr int MASS_ZONE = 2;    ///< obj2 is a TZone
    static constexpr int MASS_BOUNDS = 3;  ///< obj2 is the world

    static constexpr int MODE_DISCARD = 0; ///< hooks only, nothing queued
    static constexpr int MODE_UPDATE = 1;  ///< a repeated pair moves the queued event and adds its force
    static constexpr int MODE_REPLACE = 2; ///< a repeated pair moves the queued event and replaces its force

    /// A hook of the chain run by Emit: receives the chain's identifier, the event so far and the
    /// context it was added with; returns the event to continue with (the same, or another one), or
    /// null to stop it. It runs inside the step, once per contact report.
    using Hook = TColEventRef (*)(int hookId, const TColEventRef& event, void* context);

    /// New event (never null); its kind follows from obj2 (MASS_MASS for a mass, MASS_ZONE for a zone,
    /// MASS_BOUNDS for the world, MASS_CUSTOM for anything else or null). x, y: contact point in world
    /// units; force: penetration depth in world units. Not queued.
    static TColEventRef Create(const TMassRef& obj1, const TObjectRef& obj2, float x, float y, float force);
    /// Sets the queue mode, unchecked (values other than 0 and 2 behave as MODE_UPDATE); returns 0.
    static int SetMode(int mode);
    /// The queue mode.
    static int GetMode();
    /// Runs the hook chain, then posts the result in the queue mode unless it is null or the mode is
    /// MODE_DISCARD; returns 0.
    static int Emit(const TColEventRef& event);
    /// Queues the event, or merges it into the event already recorded for its pair since the last
    /// Flush (even one Poll has taken): the recorded event takes the new position and adds the new
    /// force, or takes it with MODE_REPLACE. Runs no hooks and ignores MODE_DISCARD; a null event does
    /// nothing. Returns 0.
    static int Post(const TColEventRef& event, int mode);
    /// Removes and returns the oldest queued event and makes it current; null (and no current event)
    /// when the queue is empty. Its pair stays recorded for Seek until the next Flush.
    static TColEventRef Poll();
    /// The oldest queued event, left in place; null when the queue is empty.
    static TColEventRef Peek();
    /// The recorded event of the pair (a, b) in either order, or null; a null b stands for the world.
    static TColEventRef Seek(const TObjectRef& a, const TObjectRef& b);
    /// Empties the queue and the pair index and clears the current event; the step calls it. Events a
    /// program still holds stay valid and no longer change. Returns 0.
    static int Flush();
    /// The event most recently returned by Poll; null after a Poll of an empty queue or a Flush.
    static TColEventRef GetCurrent();

    /// Identifier of the hook chain, passed to every hook.
    static int GetHookId();
    /// Appends a hook to the chain with its context (a null hook is ignored); the same hook may be
    /// added with different contexts. Returns 0.
    static int AddHook(Hook hook, void* context);
    /// Removes the first entry with this hook and context; returns 1 if there was one, else 0.
    static int RemoveHook(Hook hook, void* context);

    /// The event kind: MASS_MASS, MASS_ZONE, MASS_BOUNDS or MASS_CUSTOM.
    int GetID() const { return id; }
    /// The mass that collided (obj1).
    TMassRef GetMass1() const { return obj1; }
    /// obj2 if it is a mass, else null.
    TMassRef GetMass2() const;
    /// obj2 if it is a zone, else null.
    TZoneRef GetZone() const;
    ///@{
    /// The contact point, world units: the bound's point beside the mass, the midpoint of two masses,
    /// or the zone outline's point nearest the mass.
    float GetX() const { return x; }
    float GetY() const { return y; }
    ///@}
    /// The penetration depth in world units, summed over the step's repeats of the pair in MODE_UPDATE.
    float GetForce() const { return force; }

    int id = 0;         ///< the event kind
    TMassRef obj1;      ///< the mass that collided
    TObjectRef obj2;    ///< what it collided with
    float x = 0.0f;     ///< contact point, world units
    float y = 0.0f;     ///< contact point, world units
    float force = 0.0f; ///< penetration depth, summed over repeats in MODE_UPDATE
};

} // namespace ravel
