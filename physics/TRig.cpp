// physics/TRig.cpp: rigs and their drawing.
#include "physics/TRig.h"

#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/detail/DrawStateGuard.h"
#include "platform/Clamp.h"
#include "platform/Graphics2D.h"

namespace ravel
{

TRigRef TRig::Create(const TImageRef& image, const TMassRef& mass, const TConstraintRef& con, float angle)
{
    auto rig = std::make_shared<TRig>();
    rig->name = "Rig";
    rig->image = image;
    rig->mass = mass;
    rig->con = con;
    rig->angle = angle;
    return rig;
}

int TRig::SetName(const std::string& n)
{
    name = n;
    return 0;
}

int TRig::SetImage(const TImageRef& i)
{
    image = i;
    return 0;
}

int TRig::SetMass(const TMassRef& m)
{
    mass = m;
    return 0;
}

int TRig::SetConstraint(const TConstraintRef& c)
{
    con = c;
    return 0;
}

int TRig::SetAngle(float degrees)
{
    angle = degrees;
    return 0;
}

int TRig::SetScale(float x, float y)
{
    scaleX = x;
    scaleY = y;
    return 0;
}

int TRig::GetScale(float& x, float& y) const
{
    x = scaleX;
    y = scaleY;
    return 0;
}

int TRig::SetColor(int r, int g, int b)
{
    red = ChannelFraction(r);
    green = ChannelFraction(g);
    blue = ChannelFraction(b);
    return 0;
}

int TRig::GetColor(int& r, int& g, int& b) const
{
    r = static_cast<int>(red * 255.0f);
    g = static_cast<int>(green * 255.0f);
    b = static_cast<int>(blue * 255.0f);
    return 0;
}

int TRig::SetAlpha(float a)
{
    alpha = ClampUnit(a);
    return 0;
}

int TRig::SetBlend(int mode)
{
    blend = mode;
    return 0;
}

int TRig::Draw() const
{
    if (!image || !mass)
        return 0;
    detail::TDrawStateGuard saved;
    ravel::SetBlend(blend);
    ravel::SetRotation(con ? con->GetAngle() + angle : angle);
    saved.Tint(red, green, blue, alpha);
    ravel::SetScale(scaleX, scaleY);
    TPhysics::DrawImage(image, mass->posX, mass->posY, 0);
    return 0;
}

} // namespace ravel
