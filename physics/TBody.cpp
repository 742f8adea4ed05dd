// physics/TBody.cpp: constraint groups.
#include "physics/TBody.h"

#include "physics/TConstraint.h"

namespace ravel
{

TBody::TBody() : conList(std::make_shared<TList<TConstraintRef>>())
{
}

TBody::~TBody()
{
    Clear();
}

int TBody::SetName(const std::string& n)
{
    name = n;
    return 0;
}

TListRef<TConstraintRef> TBody::GetConstraints() const
{
    auto copy = std::make_shared<TList<TConstraintRef>>();
    for (const TConstraintRef& c : *conList)
        copy->AddLast(c);
    return copy;
}

int TBody::Clear()
{
    for (const TConstraintRef& c : *conList)
    {
        std::vector<TConstraint::Membership>& groups = c->groups;
        for (std::size_t k = 0; k < groups.size(); ++k)
            if (groups[k].body == this)
            {
                groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(k));
                break;
            }
        c->SubRef();
    }
    conList->Clear();
    return 0;
}

} // namespace ravel
