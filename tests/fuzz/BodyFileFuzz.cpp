// tests/fuzz/BodyFileFuzz.cpp: body files from arbitrary bytes; what loads must save and load back
// to the same file.
#include "tests/fuzz/FuzzCommon.h"

#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>

using namespace ravel;

namespace
{

bool Same(float a, float b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

/// A velocity is kept as the difference of two positions, so a reload may round it by a unit in the
/// last place of the position.
bool Near(float a, float b, float position)
{
    if (std::isnan(a) || std::isnan(b) || std::isinf(a) || std::isinf(b) || std::isinf(position) ||
        std::isnan(position))
        return true;
    return std::fabs(a - b) <= 4.0f * std::nextafter(std::fabs(position) + std::fabs(a), INFINITY) *
                                       std::numeric_limits<float>::epsilon() +
                                   std::numeric_limits<float>::min();
}

/// A line of the file cannot hold these; saving drops them.
std::string Written(std::string name)
{
    std::erase_if(name, [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
    return name;
}

/// The body read back from a save equals the one saved: every slot, value and name, with private
/// (negative) collision groups equal up to renumbering.
void CheckEqual(const TAdvBody& a, const TAdvBody& b)
{
    fuzz::Check(a.MassMaxIndex() == b.MassMaxIndex(), "mass count survives");
    fuzz::Check(a.ConMaxIndex() == b.ConMaxIndex(), "constraint count survives");
    fuzz::Check(a.ImageMaxIndex() == b.ImageMaxIndex(), "image count survives");
    fuzz::Check(a.RigMaxIndex() == b.RigMaxIndex(), "rig count survives");
    std::map<int, int> groups;
    for (int s = 0; s <= a.MassMaxIndex(); ++s)
    {
        fuzz::Check(a.MassExists(s) == b.MassExists(s), "mass slots survive");
        if (!a.MassExists(s))
            continue;
        TMassRef m = a.MassGet(s), n = b.MassGet(s);
        fuzz::Check(Same(m->GetX(), n->GetX()) && Same(m->GetY(), n->GetY()), "mass position survives");
        fuzz::Check(Same(m->GetMass(), n->GetMass()) && Same(m->GetRadius(), n->GetRadius()) &&
                        Same(m->GetFriction(), n->GetFriction()),
                    "mass values survive");
        fuzz::Check(m->IsFrozen() == n->IsFrozen(), "frozen flag survives");
        // A frozen mass's stored velocity is not applied on load (the velocity setter leaves frozen
        // masses alone), so only free masses carry theirs through a file.
        if (!m->IsFrozen())
            fuzz::Check(Near(m->GetVX(), n->GetVX(), m->GetX()) && Near(m->GetVY(), n->GetVY(), m->GetY()),
                        "mass velocity survives");
        fuzz::Check(Written(m->GetName()) == n->GetName(), "mass name survives");
        const int g = m->GetColGroup(), h = n->GetColGroup();
        if (g >= 0)
            fuzz::Check(g == h, "collision group survives");
        else
            fuzz::Check(h < 0 && groups.try_emplace(g, h).first->second == h, "private groups stay shared");
    }
    for (int s = 0; s <= a.ConMaxIndex(); ++s)
    {
        fuzz::Check(a.ConExists(s) == b.ConExists(s), "constraint slots survive");
        if (!a.ConExists(s))
            continue;
        fuzz::Check(a.ConGetMass1(s) == b.ConGetMass1(s) && a.ConGetMass2(s) == b.ConGetMass2(s),
                    "constraint masses survive");
        fuzz::Check(Same(a.ConGetRestLength(s), b.ConGetRestLength(s)) &&
                        Same(a.ConGetStiffness(s), b.ConGetStiffness(s)),
                    "constraint values survive");
        fuzz::Check(Written(a.ConGetName(s)) == b.ConGetName(s), "constraint name survives");
    }
    for (int s = 0; s <= a.ImageMaxIndex(); ++s)
    {
        fuzz::Check(a.ImageExists(s) == b.ImageExists(s), "image slots survive");
        if (!a.ImageExists(s))
            continue;
        TImageRef i = a.ImageGet(s), j = b.ImageGet(s);
        fuzz::Check(i->width == j->width && i->height == j->height && i->flags == j->flags,
                    "image size and flags survive");
    }
    for (int s = 0; s <= a.RigMaxIndex(); ++s)
    {
        fuzz::Check(a.RigExists(s) == b.RigExists(s), "rig slots survive");
        if (!a.RigExists(s))
            continue;
        fuzz::Check(a.RigGetImage(s) == b.RigGetImage(s) && a.RigGetMass(s) == b.RigGetMass(s) &&
                        a.RigGetConstraint(s) == b.RigGetConstraint(s) &&
                        Same(a.RigGetAngle(s), b.RigGetAngle(s)) && a.RigGetBlend(s) == b.RigGetBlend(s),
                    "rig values survive");
        fuzz::Check(Written(a.RigGetName(s)) == b.RigGetName(s), "rig name survives");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TPhysics::Create(1000.0f, 1000.0f, 0.1f, 0.0f, 2);
    TColEvent::SetMode(TColEvent::MODE_DISCARD);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = fuzz::ScratchPath("in", ".rvb");
    const std::string first = fuzz::ScratchPath("first", ".rvb");
    const std::string second = fuzz::ScratchPath("second", ".rvb");
    fuzz::WriteFile(input, data, size);
    // Alternate between an inactive load and one that enters the world, on a bit of the input.
    const int activate = size > 0 ? data[size - 1] & 1 : 0;
    TAdvBodyRef body = TAdvBody::Load(input, activate);
    if (body)
    {
        if (activate)
            TPhysics::Update();
        body->Save(first, 0, 1);
        TAdvBodyRef again = TAdvBody::Load(first, 0);
        fuzz::Check(again != nullptr, "a saved body loads");
        CheckEqual(*body, *again);
        // A second round changes nothing more: the file is a fixed point apart from the renumbered
        // private groups, so compare the reloads.
        again->Save(second, 0, 1);
        TAdvBodyRef third = TAdvBody::Load(second, 0);
        fuzz::Check(third != nullptr, "a body saved twice loads");
        CheckEqual(*again, *third);
    }
    body.reset();
    TColEvent::Flush();
    std::remove(input.c_str());
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}
