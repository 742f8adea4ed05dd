// demo/TCar.cpp: the car: a kinematic tyre model on the four wheel masses of a soft body.
#include "demo/Demo.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"

#include <cmath>

namespace ravel::demo
{

TCar::TCar()
{
    chassis = TAdvBody::Load(MediaPath("car4.rvb"), 0);
    if (!chassis)
        return;
    chassis->Activate();
    chassis->Position(8000, 750);
    chassis->Rotate(180);
}

namespace
{
bool Driven(int drive, int wheel)
{
    switch (drive)
    {
    case 0:
        return wheel >= 2;
    case 1:
        return true;
    case 2:
        return wheel < 2;
    default:
        return false;
    }
}
} // namespace

int TCar::Update()
{
    if (!chassis)
        return 0;
    float rot = chassis->GetRotation();

    float steer = JoystickX(con);
    if (steer > -0.2f && steer < 0.2f)
        steer = 0.0f;
    if (KeyDown(VK_LEFT))
        steer = -1.0f;
    if (KeyDown(VK_RIGHT))
        steer = 1.0f;
    float frontAngle = rot + sArc * steer;

    // On a pad whose triggers share the Z axis, the right trigger accelerates, the left one brakes.
    float throttle = -JoystickZ(con);
    if (KeyDown(VK_UP) || JoystickButton(0, con))
        throttle = 1.0f;
    if (KeyDown(VK_DOWN) || JoystickButton(1, con))
        throttle = -1.0f;
    if (drive == 1)
        throttle = throttle * 0.5f;

    if (JoystickButton(2, con) || KeyDown(VK_SPACE))
    {
        for (int& status : wStatus)
            status = LOCKED;
    }
    else
    {
        for (int& status : wStatus)
            if (status == LOCKED)
                status = SKID;
    }

    for (int i = 0; i < 4; ++i)
    {
        int m = i + 3;
        float grip = wGrip[i] * 0.45f;
        float a = i < 2 ? frontAngle : rot;
        float v = chassis->MassGetVelocity(m);
        float vx = chassis->MassGetVX(m);
        float vy = chassis->MassGetVY(m);
        float smokeSpeed = 0.0f;
        if (wStatus[i] == LOCKED)
        {
            float factor = v > grip * 0.5f ? 1.0f - wGrip[i] * 0.1f : 1.0f - wGrip[i] * 0.5f;
            chassis->MassSetVelocity(m, vx * factor, vy * factor);
            smokeSpeed = v;
        }
        else
        {
            float k = 1.0f - wGrip[i];
            if (wStatus[i] == SKID)
                k = 1.0f - wGrip[i] * 0.5f;
            else if (wStatus[i] == SPIN)
                k = 1.0f - wGrip[i] * 0.25f;
            float d = Atan2Deg(vy, vx) - a;
            float lat = SinDeg(d) * v * k;
            float side = std::fabs(lat);
            if (wStatus[i] == TRACTION && side > grip)
                wStatus[i] = SKID;
            else if (wStatus[i] == SKID && side < grip * 0.5f)
                wStatus[i] = TRACTION;
            else if (wStatus[i] == SPIN && side < grip * 0.25f)
                wStatus[i] = TRACTION;
            float fwd = CosDeg(d) * v * drag;
            if (Driven(drive, i))
            {
                if (wStatus[i] == SKID)
                    wStatus[i] = SPIN;
                float tg = wGrip[i];
                if (wStatus[i] == SPIN)
                    tg = tg * 0.25f;
                if (throttle > 0.0f)
                    fwd = fwd + throttle * tg * (0.5f + fwd / 31.0f);
                else if (throttle < 0.0f && fwd > 0.0f)
                    fwd = fwd + throttle * tg * (0.5f + fwd / 20.0f);
                else if (throttle < 0.0f)
                    fwd = fwd + throttle * tg * (0.3f + fwd / 248.0f);
            }
            chassis->MassSetVelocity(m, CosDeg(a) * fwd - SinDeg(a) * lat, SinDeg(a) * fwd + CosDeg(a) * lat);
            smokeSpeed = fwd;
        }
        if (wStatus[i] != TRACTION && smokeSpeed > 1.0f)
            TSmoke::Create(chassis->MassGetX(m), chassis->MassGetY(m));
        wGrip[i] = 0.9f;
    }
    return 0;
}

int TCar::Draw()
{
    SetColor(255, 255, 255);
    if (chassis)
        chassis->Draw();
    return 0;
}

} // namespace ravel::demo
