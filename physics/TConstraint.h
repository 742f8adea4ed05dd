// physics/TConstraint.h: a stick that holds two masses at a rest length.
#pragma once
#include "physics/TObject.h"
#include "platform/TList.h"

#include <string>
#include <vector>

namespace ravel
{

/// A distance constraint. While active (refCounter > 0) it is in constraintList and holds an active
/// reference on both masses.
class TConstraint : public TObject
{
  public:
    /// New inactive constraint; restLength <= 0 takes the current distance; stiffness stored as given.
    /// Null when either mass is null.
    static TConstraintRef Create(const TMassRef& m1, const TMassRef& m2, float restLength, float stiffness);

    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    /// Lists the constraint in the group and adds a count, once per group.
    int Assign(TBody& body);
    /// Takes the group's count back and unlists it, if the group lists it.
    int Free(TBody& body);
    TMassRef GetMass1() const { return m[0]; }
    TMassRef GetMass2() const { return m[1]; }
    /// length <= 0 takes the current distance.
    int SetRestLength(float length);
    float GetRestLength() const { return restLength; }
    /// Clamped to [0, 1].
    int SetStiffness(float s);
    float GetStiffness() const { return stiffness; }
    /// Direction from the first mass to the second, degrees, -180 to 180.
    float GetAngle() const;
    float GetLength() const;
    /// Length over rest length; 0 when the rest length is 0.
    float GetStress() const;
    /// Draws the stick in world space, in the caller's colour.
    int Draw() const;
    /// One relaxation. Two free masses whose weights sum to zero share the correction evenly.
    int Satisfy();
    /// Adds an owner; the first one activates both masses and joins constraintList.
    int AddRef();
    /// Removes an owner, unclamped; at 0 releases both masses and leaves constraintList.
    int SubRef();

    // What a relaxation reads comes first, so that it shares a cache line with the object's start.
    TMassRef m[2]; ///< the two masses, fixed after Create
    float restLength = 0.0f;
    float stiffness = 0.0f; ///< share of the length error removed per pass
    std::string name;
    TLink link;         ///< node in constraintList while active; does not own
    int refCounter = 0; ///< groups assigned to, plus direct AddRef calls
    int index = 0;      ///< slot in the indexed body that holds it

  private:
    friend class TBody;
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
