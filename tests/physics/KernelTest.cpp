// The library's step and the flat-array kernel of the same algorithm agree bit for bit.
#include "scenes/kernel/Kernel.h"

#include "scenes/Scenes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unordered_map>

namespace ravel::test
{
namespace
{

bool Same(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct KernelCase
{
    const char* name;
    scenes::Scene (*build)(int);
    int size;
};

TEST(Kernel, AgreesWithTheLibraryOnEveryPositionAndEvent)
{
    const KernelCase cases[] = {
        {"pile", &scenes::BuildPile, 4000},
        {"cloth", &scenes::BuildCloth, 100},
        {"blobs", &scenes::BuildBlobs, 400},
    };
    for (const KernelCase& c : cases)
    {
        scenes::Scene scene = c.build(c.size);
        scenes::Kernel kernel = scenes::Kernel::FromWorld();
        for (int k = 0; k < 300; ++k)
        {
            TPhysics::Update();
            kernel.Step();
        }

        std::unordered_map<const TObject*, int> index;
        int i = 0;
        int mismatches = 0;
        for (const TMassRef& m : *massList)
        {
            index[m.get()] = i;
            if (!Same(m->posX, kernel.X(i)) || !Same(m->posY, kernel.Y(i)) ||
                !Same(m->oldPosX, kernel.OldX(i)) || !Same(m->oldPosY, kernel.OldY(i)))
                ++mismatches;
            ++i;
        }
        ASSERT_EQ(i, kernel.Count()) << c.name;
        EXPECT_EQ(mismatches, 0) << c.name;

        const std::vector<scenes::Kernel::Event>& expected = kernel.Events();
        std::size_t n = 0;
        int eventMismatches = 0;
        while (TColEventRef e = TColEvent::Poll())
        {
            if (n < expected.size())
            {
                const scenes::Kernel::Event& k = expected[n];
                int b =
                    e->GetID() == TColEvent::MASS_BOUNDS ? scenes::Kernel::kWorld : index.at(e->obj2.get());
                if (index.at(e->obj1.get()) != k.a || b != k.b || !Same(e->x, k.x) || !Same(e->y, k.y) ||
                    !Same(e->force, k.force))
                    ++eventMismatches;
            }
            ++n;
        }
        EXPECT_EQ(n, expected.size()) << c.name;
        EXPECT_EQ(eventMismatches, 0) << c.name;
        if (std::string(c.name) != "cloth")
        {
            EXPECT_GT(n, 100u) << c.name << ": the scene should be in heavy contact";
        }
        scenes::Release(scene);
    }
}

} // namespace
} // namespace ravel::test
