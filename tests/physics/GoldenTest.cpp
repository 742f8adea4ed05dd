// The reference scenes step to exactly the same floats on every build: any change to the order or
// the arithmetic of the step shows up here as a different digest.
#include "scenes/Scenes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace ravel::test
{
namespace
{

// FNV-1a over the bytes of the floats.
class Digest
{
  public:
    void Add(float f)
    {
        unsigned char bytes[sizeof f];
        std::memcpy(bytes, &f, sizeof f);
        for (unsigned char b : bytes)
        {
            h_ ^= b;
            h_ *= 1099511628211ull;
        }
    }
    std::uint64_t Value() const { return h_; }

  private:
    std::uint64_t h_ = 1469598103934665603ull;
};

std::uint64_t Positions(const scenes::Scene& scene)
{
    Digest d;
    for (const TMassRef& m : scene.masses)
    {
        d.Add(m->posX);
        d.Add(m->posY);
        d.Add(m->oldPosX);
        d.Add(m->oldPosY);
    }
    return d.Value();
}

std::uint64_t Events(int& count)
{
    Digest d;
    count = 0;
    while (TColEventRef e = TColEvent::Poll())
    {
        d.Add(static_cast<float>(e->GetID()));
        d.Add(e->GetX());
        d.Add(e->GetY());
        d.Add(e->GetForce());
        ++count;
    }
    return d.Value();
}

struct GoldenCase
{
    const char* name;
    scenes::Scene (*build)(int);
    int size;
    int steps;
    std::uint64_t positions;
    std::uint64_t events;
    int eventCount;
};

TEST(Golden, ReferenceScenesStepToTheSameFloats)
{
    const GoldenCase cases[] = {
        {"pile", &scenes::BuildPile, 800, 300, 17401422904067203363ull, 11448931721389048811ull, 1164},
        {"cloth", &scenes::BuildCloth, 30, 300, 4062064606549149167ull, 1469598103934665603ull, 0},
        {"blobs", &scenes::BuildBlobs, 50, 300, 959365019831642043ull, 6156064951886210664ull, 450},
    };
    for (const GoldenCase& c : cases)
    {
        scenes::Scene scene = c.build(c.size);
        for (int k = 0; k < c.steps; ++k)
            TPhysics::Update();
        int count = 0;
        std::uint64_t events = Events(count);
        EXPECT_EQ(Positions(scene), c.positions) << c.name;
        EXPECT_EQ(events, c.events) << c.name;
        EXPECT_EQ(count, c.eventCount) << c.name;
        scenes::Release(scene);
    }
}

} // namespace
} // namespace ravel::test
