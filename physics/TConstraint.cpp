// physics/TConstraint.cpp: distance constraints, their relaxation and their activity count.
#include "physics/TConstraint.h"

#include "physics/TBody.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/detail/Internals.h"
#include "physics/detail/Pool.h"
#include "physics/detail/Registry.h"
#include "physics/detail/Relax.h"
#include "platform/Clamp.h"
#include "platform/DegMath.h"

#include <cmath>

namespace ravel
{

namespace
{

inline float Distance(const TMass& a, const TMass& b)
{
    float dx = a.posX - b.posX;
    float dy = a.posY - b.posY;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

TConstraintRef TConstraint::Create(const TMassRef& m1, const TMassRef& m2, float restLength, float stiffness)
{
    if (!m1 || !m2)
        return nullptr;
    TConstraintRef c = std::allocate_shared<TConstraint>(detail::PoolAllocator<TConstraint>(), Key());
    c->name = "Con";
    c->m[0] = m1;
    c->m[1] = m2;
    c->restLength = restLength > 0.0f ? restLength : Distance(*m1, *m2);
    c->stiffness = stiffness;
    return c;
}

int TConstraint::SetName(const std::string& n)
{
    name = n;
    return 0;
}

int TConstraint::Assign(TBody& body)
{
    for (const Membership& g : groups)
        if (g.body == &body)
        {
            Rejoin();
            return 0;
        }
    TConstraintRef self = std::static_pointer_cast<TConstraint>(weak_from_this().lock());
    if (!self || !body.conList)
        return 0;
    groups.push_back(Membership{&body, body.conList->AddLast(std::move(self))});
    AddRef();
    return 0;
}

int TConstraint::Free(TBody& body)
{
    for (std::size_t k = 0; k < groups.size(); ++k)
        if (groups[k].body == &body)
        {
            // The group's entry may hold the last reference to this constraint: keep it alive.
            TConstraintRef self = std::static_pointer_cast<TConstraint>(weak_from_this().lock());
            TLink entry = groups[k].entry;
            groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(k));
            SubRef();
            entry.Remove();
            return 0;
        }
    return 0;
}

int TConstraint::SetRestLength(float length)
{
    restLength = length > 0.0f ? length : Distance(*m[0], *m[1]);
    return 0;
}

int TConstraint::SetStiffness(float s)
{
    stiffness = ClampUnit(s);
    return 0;
}

float TConstraint::GetAngle() const
{
    return Atan2Deg(m[1]->posY - m[0]->posY, m[1]->posX - m[0]->posX);
}

float TConstraint::GetLength() const
{
    return Distance(*m[0], *m[1]);
}

float TConstraint::GetStress() const
{
    if (restLength == 0.0f)
        return 0.0f;
    return GetLength() / restLength;
}

int TConstraint::Draw() const
{
    TPhysics::DrawLine(m[0]->posX, m[0]->posY, m[1]->posX, m[1]->posY);
    return 0;
}

int TConstraint::Satisfy()
{
    detail::Relax(*this);
    return 0;
}

bool TConstraint::InWorld() const
{
    return joined_ == detail::registry.generation && link.IsLinked();
}

// Joins the current world's constraintList; nothing to join while there is no world.
void TConstraint::Join()
{
    if (!constraintList)
        return;
    if (TConstraintRef self = std::static_pointer_cast<TConstraint>(weak_from_this().lock()))
    {
        link = detail::Enlist(*constraintList, std::move(self));
        joined_ = detail::registry.generation;
    }
}

// A constraint counted but outside the current world joins it with its masses, counting nothing.
void TConstraint::Rejoin()
{
    if (refCounter <= 0 || InWorld())
        return;
    detail::Internals::Rejoin(*m[0]);
    detail::Internals::Rejoin(*m[1]);
    Join();
}

int TConstraint::AddRef()
{
    if (refCounter == 0)
    {
        m[0]->AddRef();
        m[1]->AddRef();
        Join();
    }
    else
        Rejoin();
    ++refCounter;
    return 0;
}

int TConstraint::SubRef()
{
    --refCounter;
    if (refCounter != 0)
        return 0;
    TConstraintRef self = std::static_pointer_cast<TConstraint>(weak_from_this().lock());
    m[0]->SubRef();
    m[1]->SubRef();
    detail::Delist(link);
    return 0;
}

} // namespace ravel
