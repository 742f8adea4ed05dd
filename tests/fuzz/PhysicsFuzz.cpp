// tests/fuzz/PhysicsFuzz.cpp: a small world built from arbitrary bytes (settings, masses, constraints
// and a zone, with NaN, infinities, huge and zero sizes and zero weights among the values) stepped 100
// times. The step must neither crash nor leak whatever it is given.
#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace ravel;

namespace
{

/// Reads values off the fuzz bytes; zeros once they run out.
class Bytes
{
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int Small(int limit) { return Byte() % limit; }

    /// A float: one of the awkward values when the selector says so, else the next four raw bytes.
    float Float()
    {
        static const float special[] = {std::numeric_limits<float>::quiet_NaN(),
                                        std::numeric_limits<float>::infinity(),
                                        -std::numeric_limits<float>::infinity(),
                                        0.0f,
                                        -0.0f,
                                        FLT_MAX,
                                        -FLT_MAX,
                                        FLT_MIN,
                                        1e-40f,
                                        1e30f,
                                        -1e30f,
                                        1.0f,
                                        0.5f};
        const std::uint8_t selector = Byte();
        const std::size_t n = sizeof(special) / sizeof(special[0]);
        if (selector < n)
            return special[selector];
        if (selector < 128)
        {
            std::uint32_t bits = 0;
            for (int k = 0; k < 4; ++k)
                bits = bits << 8 | Byte();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        // Ordinary values in a world-sized range, so most worlds do something.
        return (static_cast<float>(Byte()) - 64.0f) * 8.0f + static_cast<float>(selector) / 64.0f;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    const float maxX = in.Float();
    const float maxY = in.Float();
    const float gravY = in.Float();
    const float gravX = in.Float();
    TPhysics::Create(maxX, maxY, gravY, gravX, in.Small(6));
    TColEvent::SetMode(in.Small(3));
    if (in.Byte() & 1)
        TPhysics::SetBounds(in.Float(), in.Float(), in.Float(), in.Float());
    if (in.Byte() & 1)
        TPhysics::SetFriction(in.Float());
    TPhysics::UseShiftedGrid(in.Byte() & 1);
    if (in.Byte() & 1)
        TPhysics::SetGridSize(in.Small(80) - 8);

    {
        auto body = std::make_shared<TAdvBody>();
        const int masses = in.Small(12);
        for (int k = 0; k < masses; ++k)
        {
            const float x = in.Float();
            const float y = in.Float();
            const float weight = in.Float();
            const float radius = in.Float();
            const float friction = in.Float();
            body->MassAdd(x, y, weight, radius, friction, in.Small(4) - 1);
            if (in.Byte() == 1)
                body->MassFreeze(k);
            if (in.Byte() & 1)
                body->MassSetVelocity(k, in.Float(), in.Float());
        }
        const int constraints = masses > 0 ? in.Small(16) : 0;
        for (int k = 0; k < constraints; ++k)
        {
            const int a = in.Small(masses);
            const int b = in.Small(masses);
            const float rest = in.Float();
            body->ConAdd(a, b, rest, in.Float());
        }
        body->Activate();

        TZoneRef zone;
        if (in.Byte() & 1)
        {
            std::vector<float> area;
            const int vertices = 2 + in.Small(5);
            for (int k = 0; k < 2 * vertices; ++k)
                area.push_back(in.Float());
            const int style = in.Small(4);
            const float friction = in.Float();
            zone = TZone::Create(area, style, friction, in.Small(3) - 1, in.Small(7));
        }

        for (int step = 0; step < 100; ++step)
        {
            TPhysics::Update();
            TColEvent::Flush();
        }
        if (zone)
            zone->Free();
    }
    TColEvent::Flush();
    TPhysics::Free();
    return 0;
}
