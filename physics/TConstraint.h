// physics/TConstraint.h: a stick that holds two masses at a rest length.
#pragma once
#include "physics/TObject.h"
#include "platform/TList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ravel
{

/// A distance constraint: a stick holding two masses at a rest length, with a stiffness that says
/// how much of the length error each relaxation pass removes.
///
/// While active (refCounter > 0) it is in constraintList, is relaxed every pass and holds an active
/// count on both masses, which is what brings them into the simulation. A constraint from Create is
/// inactive; assigning it to a group (Assign, or TAdvBody::Activate for a body's own) activates it,
/// and freeing it from its last group deactivates it. One activated while no world exists, or in a
/// world since replaced by TPhysics::Create, is counted but outside the current world until it is
/// activated again: assigning it anew (or TAdvBody::Activate) brings it and its masses in without
/// counting anything twice. Constraints are made only by Create, which owns them through a
/// std::shared_ptr.
class TConstraint : public TObject
{
    struct Key
    {
        explicit Key() = default;
    };

  public:
    /// New inactive constraint named "Con" between two masses. restLength in world units; 0 or less
    /// takes the masses' current distance. stiffness is the share of the length error removed per
    /// pass, 0 (inert) to 1 (rigid); Create stores it as given, unclamped, unlike SetStiffness. Null
    /// when either mass is null.
    static TConstraintRef Create(const TMassRef& m1, const TMassRef& m2, float restLength, float stiffness);
    /// For Create only: the key is its alone.
    explicit TConstraint(Key) {}
    ///@{
    /// Not copyable: a constraint is one registry entry and one count on each mass.
    TConstraint(const TConstraint&) = delete;
    TConstraint& operator=(const TConstraint&) = delete;
    ///@}

    ///@{
    /// A free label, "Con" from Create; SetName returns 0.
    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    ///@}
    /// Lists the constraint in the group and adds a count, once per group: the first count activates
    /// the constraint and its masses. Assigned again to a group that lists it, it counts nothing; it
    /// only joins the current world with its masses if it was counted outside it. Returns 0.
    int Assign(TBody& body);
    /// Takes the group's count back and unlists it, if the group lists it; the last count deactivates
    /// the constraint and releases its masses. Returns 0.
    int Free(TBody& body);
    ///@{
    /// The first / second mass, fixed at Create; never null for a constraint from Create.
    TMassRef GetMass1() const { return m[0]; }
    TMassRef GetMass2() const { return m[1]; }
    ///@}
    /// The rest length in world units; 0 or less takes the masses' current distance. Returns 0.
    int SetRestLength(float length);
    /// The rest length, world units.
    float GetRestLength() const { return restLength; }
    /// The stiffness, clamped to [0, 1] (NaN gives 0): the share of the length error one pass removes.
    /// Returns 0.
    int SetStiffness(float s);
    /// The stiffness, 0 to 1 unless Create was given a value outside.
    float GetStiffness() const { return stiffness; }
    /// Direction from the first mass to the second, degrees, -180 to 180: 0 along +x, 90 along +y.
    float GetAngle() const;
    /// The current distance between the masses, world units.
    float GetLength() const;
    /// Length over rest length: 1 at rest, above 1 stretched, below 1 compressed; 0 when the rest
    /// length is 0.
    float GetStress() const;
    /// Draws the stick in world space, in the caller's colour, alpha and blend. Returns 0.
    int Draw() const;
    /// One relaxation, as each pass of the step does: moves the masses along the stick by the length
    /// error times the stiffness, split by weight (the heavier moves less, a frozen mass not at all).
    /// Two free masses whose weights sum to zero share the correction evenly. Returns 0.
    int Satisfy();
    /// Adds an owner; the first one activates both masses and joins constraintList (when a world
    /// exists), and any one while the constraint is counted outside the current world brings it and
    /// its masses in. Assign calls it; a direct call owes one SubRef. Returns 0.
    int AddRef();
    /// Removes an owner, unclamped; at 0 releases both masses and leaves constraintList. Returns 0.
    int SubRef();

    // What a relaxation reads comes first, so that it shares a cache line with the object's start.
    TMassRef m[2]; ///< the two masses, fixed after Create
    /// Target distance between the masses, world units.
    float restLength = 0.0f;
    float stiffness = 0.0f; ///< share of the length error removed per pass
    /// A free label.
    std::string name;
    TLink link;         ///< node in constraintList while active; does not own
    int refCounter = 0; ///< groups assigned to, plus direct AddRef calls
    int index = 0;      ///< slot in the indexed body that holds it

  private:
    friend class TBody;

    bool InWorld() const;
    void Join();
    void Rejoin();

    std::uint32_t joined_ = 0; // generation of the registries it joined last
    // The groups that list this constraint and its entry in each, so that Assign and Free find them
    // without searching the groups' lists.
    struct Membership
    {
        TBody* body;
        TLink entry;
    };
    std::vector<Membership> groups;
};

} // namespace ravel
