// physics/detail/Pool.h: a recycling allocator for objects made and dropped while the world runs.
#pragma once
#include "platform/Poison.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace ravel::detail
{

// Single objects of one size are carved from chunks and recycled through a free list, so masses,
// constraints and events sit close together and making one in the step's steady state allocates
// nothing. Chunks are never returned; the free list stays reachable for the life of the program.
// Under AddressSanitizer a slot is poisoned while it is free, so that touching an object after it was
// destroyed is reported although its memory stays with the pool.
template <class T> class PoolAllocator
{
  public:
    using value_type = T;

    PoolAllocator() = default;
    template <class U> PoolAllocator(const PoolAllocator<U>&) {}

    T* allocate(std::size_t n)
    {
        if (n != 1)
            return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(alignof(T))));
        Slot*& head = FreeList();
        if (!head)
            Grow();
        Slot* slot = head;
        UnpoisonTaken(slot, sizeof(Slot));
        head = slot->next;
        return reinterpret_cast<T*>(slot);
    }

    void deallocate(T* p, std::size_t n)
    {
        if (n != 1)
        {
            ::operator delete(p, std::align_val_t(alignof(T)));
            return;
        }
        Slot* slot = reinterpret_cast<Slot*>(p);
        slot->next = FreeList();
        FreeList() = slot;
        PoisonFree(slot, sizeof(Slot));
    }

    template <class U> bool operator==(const PoolAllocator<U>&) const { return true; }

  private:
    union Slot {
        Slot* next;
        alignas(T) unsigned char bytes[sizeof(T)];
    };
    struct Chunk
    {
        Chunk* older;
        Slot slots[64];
    };

    static Slot*& FreeList()
    {
        static Slot* head = nullptr;
        return head;
    }
    static Chunk*& Chunks()
    {
        static Chunk* chunks = nullptr;
        return chunks;
    }

    static void Grow()
    {
        Chunk* chunk = static_cast<Chunk*>(::operator new(sizeof(Chunk), std::align_val_t(alignof(Chunk))));
        chunk->older = Chunks();
        Chunks() = chunk;
        for (std::size_t k = 64; k-- > 0;)
        {
            chunk->slots[k].next = FreeList();
            FreeList() = &chunk->slots[k];
            PoisonFree(&chunk->slots[k], sizeof(Slot));
        }
    }
};

} // namespace ravel::detail
