// tools/api_example.cpp: a soft body dropped onto the floor of a small world, driven only through the
// free functions. Prints where the body is as it falls and settles.
#include "physics/api/Api.h"
#include "platform/DegMath.h"

#include <cmath>
#include <cstdio>

using namespace ravel;

int main()
{
    // A 400 x 300 world: gravity 0.2 units per step squared downwards (the vertical component comes
    // first), four relaxation passes per step.
    if (!PhysicsCreate(400.0f, 300.0f, 0.2f, 0.0f, 4))
        return 1;

    // A ring of eight masses round a hub, held by springy rim and spoke constraints.
    TAdvBodyRef jelly = AdvBodyCreate();
    const int hub = AdvBodyMassAdd(jelly, 200.0f, 100.0f, 1.0f, 4.0f, 0.5f, -1);
    const int group = AdvBodyMassGetColGroup(jelly, hub);
    for (int k = 0; k < 8; ++k)
    {
        const float a = 45.0f * static_cast<float>(k);
        AdvBodyMassAdd(jelly, 200.0f + 30.0f * CosDeg(a), 100.0f + 30.0f * SinDeg(a), 1.0f, 4.0f, 0.5f,
                       group);
    }
    for (int k = 1; k <= 8; ++k)
    {
        AdvBodyConAdd(jelly, hub, k, -1.0f, 0.2f);
        AdvBodyConAdd(jelly, k, k % 8 + 1, -1.0f, 0.5f);
    }
    if (AdvBodyMassMaxIndex(jelly) != 8 || AdvBodyConMaxIndex(jelly) != 15)
        return 1;
    AdvBodyActivate(jelly);

    float x = 0.0f, y = 0.0f;
    for (int step = 0; step <= 300; ++step)
    {
        if (step % 60 == 0)
        {
            AdvBodyGetPosition(jelly, x, y);
            std::printf("step %3d: hub at (%.2f, %.2f), speed %.3f\n", step, x, y,
                        AdvBodyMassGetVelocity(jelly, hub));
        }
        PhysicsUpdate();
    }

    // Resting on the floor: the lowest rim mass touches y = 300 within its radius.
    float lowest = 0.0f;
    for (int k = 1; k <= 8; ++k)
        lowest = std::fmax(lowest, AdvBodyMassGetY(jelly, k));
    std::printf("lowest rim mass at y = %.2f\n", lowest);
    const bool landed = lowest > 290.0f && lowest <= 300.0f;

    jelly = nullptr;
    PhysicsFree();
    return landed ? 0 : 1;
}
