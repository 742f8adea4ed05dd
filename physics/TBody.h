// physics/TBody.h: a named group of constraints, the owner that keeps them simulated.
#pragma once
#include "physics/TObject.h"
#include "platform/TList.h"

#include <string>

namespace ravel
{

/// A constraint group. It holds one count of every constraint it lists and gives them back when it
/// is cleared or destroyed.
class TBody : public TObject
{
  public:
    TBody();
    ~TBody() override;

    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    /// A new list with the same constraints in the same order.
    TListRef<TConstraintRef> GetConstraints() const;
    /// SubRef on every listed constraint, in order, then empties the list.
    int Clear();

    std::string name = "Body";
    TListRef<TConstraintRef> conList; ///< assigned constraints, each once, in assignment order
};

} // namespace ravel
