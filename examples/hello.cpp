// A soft square dropped into a small world: four masses joined by six springy sticks.
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"

#include <cstdio>
#include <memory>

int main()
{
    using namespace ravel;
    // 400 x 300 world units; gravity 0.1 units per step squared down the screen (+y, given first); 4 passes.
    TPhysics::Create(400.0f, 300.0f, 0.1f, 0.0f, 4);

    auto box = std::make_shared<TAdvBody>();
    const float corners[4][2] = {{180.0f, 100.0f}, {220.0f, 100.0f}, {220.0f, 140.0f}, {180.0f, 140.0f}};
    for (const auto& c : corners) // x, y, weight, radius, friction, group (one group: no self-hits)
        box->MassAdd(c[0], c[1], 1.0f, 5.0f, 0.5f, 1);
    box->ConAddAll(0.5f); // a stick between every pair, rest length = present distance, stiffness 0.5
    box->Activate();      // from now on the world simulates its sticks and masses

    for (int step = 1; step <= 120; ++step)
    {
        TPhysics::Update(); // one fixed step: no time argument
        if (step % 20 == 0)
            std::printf("step %d: corner 0 at (%.1f, %.1f)\n", step, box->MassGetX(0), box->MassGetY(0));
    }
    TPhysics::Free();
}
