// physics/TBody.h: a named group of constraints, the owner that keeps them simulated.
#pragma once
#include "physics/TObject.h"
#include "platform/TList.h"

#include <string>

namespace ravel
{

/// A constraint group: the owner that keeps constraints, and through them their masses, in the
/// simulation. It holds one count of every constraint it lists and gives them back when it is cleared
/// or destroyed. Constraints join and leave it from their side, with TConstraint::Assign and
/// TConstraint::Free.
class TBody : public TObject
{
  public:
    /// An empty group named "Body"; make one with std::make_shared<TBody>() (or BodyCreate).
    TBody();
    /// Clears the group first, so its constraints lose this group's count.
    ~TBody() override;

    ///@{
    /// A free label, "Body" for a new group; SetName returns 0.
    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    ///@}
    /// A new list with the same constraints in the same order; changing it leaves the group alone.
    TListRef<TConstraintRef> GetConstraints() const;
    /// SubRef on every listed constraint, in order, then empties the list: constraints listed in no
    /// other group leave the simulation, and masses they alone held with them. Returns 0.
    int Clear();

    /// A free label.
    std::string name = "Body";
    TListRef<TConstraintRef> conList; ///< assigned constraints, each once, in assignment order
};

} // namespace ravel
