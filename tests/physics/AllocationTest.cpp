// Once a scene has settled into its working set, a step allocates nothing: the event queue, the pair
// index, the cell lists and the flat copies of the registries all reuse their storage.
#include "scenes/Scenes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, std::align_val_t align)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

namespace ravel::test
{
namespace
{

struct AllocationCase
{
    const char* name;
    scenes::Scene (*build)(int);
    int size;
};

TEST(Allocation, ASettledStepAllocatesNothing)
{
    const AllocationCase cases[] = {
        {"pile", &scenes::BuildPile, 1000},
        {"cloth", &scenes::BuildCloth, 40},
        {"blobs", &scenes::BuildBlobs, 60},
    };
    for (const AllocationCase& c : cases)
    {
        scenes::Scene scene = c.build(c.size);
        for (int k = 0; k < 500; ++k)
            TPhysics::Update();
        long before = allocations.load();
        for (int k = 0; k < 50; ++k)
            TPhysics::Update();
        EXPECT_EQ(allocations.load() - before, 0) << c.name;
        scenes::Release(scene);
    }
}

} // namespace
} // namespace ravel::test
