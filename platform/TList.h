// platform/TList.h: insertion-ordered doubly linked list with constant-time removal through links.
#pragma once
#include "platform/Poison.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

namespace ravel
{

namespace detail
{
class ListCore;

// The part of a list node that links and unlinks it; the element lives in the typed node. The
// generation comes first: it is all that a stale link reads of a node, and it stays readable while
// the rest of a free node is poisoned for the sanitizer.
struct ListNode
{
    std::uint32_t gen = 1;    ///< bumped each time the node is freed, so stale links can tell
    ListCore* list = nullptr; ///< the list holding the node; null while the node is free
    ListNode* prev = nullptr;
    ListNode* next = nullptr;
};

/// Bytes at the start of a node that stay readable while it is free: the generation, rounded up to
/// the sanitizer's granule.
constexpr std::size_t kNodeKeep = offsetof(ListNode, list);
static_assert(kNodeKeep == 8, "the generation fills the node's first granule");

// An enumeration in progress. The list it walks keeps it right whatever happens during a visit: an
// entry that is unlinked while the walk is about to step onto it is passed over, and an entry
// appended after the end comes next. So a walk only ever steps onto nodes that are in the list at
// that moment, never onto one that has been freed or recycled into another list.
struct ListWalk
{
    ListNode* next = nullptr;       ///< the entry visited next; null at the end
    const ListCore* list = nullptr; ///< the list walked, while the walk is registered with it
    ListWalk* outer = nullptr;      ///< the list's other walks
};

// Untyped half of TList: the chain, the count, the walks in progress and how to free a node of this
// list's element type.
class ListCore
{
  public:
    using FreeFn = void (*)(ListNode*);

    explicit ListCore(FreeFn freeNode) : freeNode_(freeNode) {}
    ListCore(const ListCore&) = delete;
    ListCore& operator=(const ListCore&) = delete;
    ~ListCore();

    /// Unlinks the node and frees it; its element is destroyed after the list is consistent again.
    void Erase(ListNode* node);

    /// A walk starts following this list. The walk lives in its iterator, which unregisters it when
    /// it ends; the optimiser cannot see that and would warn of a dangling pointer.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
    void Register(ListWalk* walk) const
    {
        walk->list = this;
        walk->outer = walks_;
        walks_ = walk;
    }
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

    /// A walk stops following this list; usually it is the latest one.
    void Unregister(ListWalk* walk) const
    {
        ListWalk** w = &walks_;
        while (*w != walk)
            w = &(*w)->outer;
        *w = walk->outer;
        walk->list = nullptr;
        walk->outer = nullptr;
    }

  protected:
    void LinkLast(ListNode* node);
    void LinkFirst(ListNode* node);
    void EraseAll();

    ListNode* first_ = nullptr;
    ListNode* last_ = nullptr;
    int count_ = 0;

  private:
    FreeFn freeNode_;
    mutable ListWalk* walks_ = nullptr; // usually none or one; walking does not change the list
};

// Fixed-size node storage for one element type. Nodes are recycled through a free list and their
// memory is never returned, so a link can always read its node's generation to learn whether it is
// still live, and appending to a list allocates only while the pool grows. Under AddressSanitizer
// everything of a free node but its generation is poisoned.
template <class V> struct TypedNode : ListNode
{
    alignas(V) unsigned char storage[sizeof(V)];
    V& Value() { return *std::launder(reinterpret_cast<V*>(storage)); }
};

template <class V> class NodePool
{
  public:
    static NodePool& Get()
    {
        static NodePool* pool = new NodePool; // immortal: lists may be destroyed during static teardown
        return *pool;
    }

    TypedNode<V>* Take()
    {
        if (!free_)
            Grow();
        TypedNode<V>* node = free_;
        UnpoisonTaken(node, sizeof(TypedNode<V>));
        free_ = static_cast<TypedNode<V>*>(node->next);
        node->next = nullptr;
        return node;
    }

    void Give(TypedNode<V>* node)
    {
        node->list = nullptr;
        node->prev = nullptr;
        ++node->gen;
        node->next = free_;
        free_ = node;
        Poison(node);
    }

  private:
    struct Chunk
    {
        Chunk* older;
    };

    static void Poison(TypedNode<V>* node)
    {
        PoisonFree(reinterpret_cast<unsigned char*>(node) + kNodeKeep, sizeof(TypedNode<V>) - kNodeKeep);
    }

    void Grow()
    {
        constexpr std::size_t kNodes = 128;
        constexpr std::size_t kHeader =
            (sizeof(Chunk) + alignof(TypedNode<V>) - 1) / alignof(TypedNode<V>) * alignof(TypedNode<V>);
        auto* raw = static_cast<unsigned char*>(
            ::operator new(kHeader + kNodes * sizeof(TypedNode<V>), std::align_val_t(alignof(TypedNode<V>))));
        auto* chunk = reinterpret_cast<Chunk*>(raw);
        chunk->older = chunks_;
        chunks_ = chunk;
        auto* nodes = reinterpret_cast<TypedNode<V>*>(raw + kHeader);
        for (std::size_t k = kNodes; k-- > 0;)
        {
            auto* node = new (&nodes[k]) TypedNode<V>();
            node->next = free_;
            free_ = node;
            Poison(node);
        }
    }

    TypedNode<V>* free_ = nullptr;
    Chunk* chunks_ = nullptr; // kept reachable; the pool lives as long as the program
};
} // namespace detail

/// A handle on one element of a TList. Removing through it takes constant time; removing twice, or
/// after the list itself is gone, does nothing. A link does not own its element.
class TLink
{
  public:
    /// A link to nothing: Remove does nothing, IsLinked is 0.
    TLink() = default;

    /// Removes the element from its list if it is still there; returns 0.
    int Remove()
    {
        detail::ListNode* node = node_;
        node_ = nullptr; // first: removing the element may destroy the object that holds this link
        if (node && node->gen == gen_ && node->list)
            node->list->Erase(node);
        return 0;
    }

    /// 1 while the element is still in its list.
    int IsLinked() const { return node_ && node_->gen == gen_ && node_->list ? 1 : 0; }

    /// Forgets the element without removing it.
    void Reset() { node_ = nullptr; }

  private:
    template <class V> friend class TList;
    TLink(detail::ListNode* node) : node_(node), gen_(node->gen) {}

    detail::ListNode* node_ = nullptr;
    std::uint32_t gen_ = 0;
};

/// Insertion-ordered doubly linked list of values (object references: std::shared_ptr handles, or raw
/// pointers for lists that do not own their elements). Enumeration is in insertion order. During a
/// visit any entries may be removed, the visited one and its neighbours included, the list may be
/// cleared or destroyed, and entries may be added: an entry removed before the walk reaches it is not
/// visited, entries appended are visited, and after the list is gone the walk ends.
template <class V> class TList : public detail::ListCore
{
    using Node = detail::TypedNode<V>;

  public:
    /// An empty list.
    TList() : ListCore(&FreeNode) {}
    /// Removes every entry.
    ~TList() { EraseAll(); }

    /// Appends a value; the returned link removes exactly this entry.
    TLink AddLast(V value)
    {
        Node* node = detail::NodePool<V>::Get().Take();
        new (node->storage) V(std::move(value));
        LinkLast(node);
        return TLink(node);
    }

    /// Puts a value in front of every other; the returned link removes exactly this entry.
    TLink AddFirst(V value)
    {
        Node* node = detail::NodePool<V>::Get().Take();
        new (node->storage) V(std::move(value));
        LinkFirst(node);
        return TLink(node);
    }

    /// Number of entries.
    int Count() const { return count_; }
    /// True when the list has no entries.
    bool IsEmpty() const { return count_ == 0; }

    ///@{
    /// The first or last value, or a default-constructed (null) value for an empty list.
    V First() const { return first_ ? static_cast<Node*>(first_)->Value() : V(); }
    V Last() const { return last_ ? static_cast<Node*>(last_)->Value() : V(); }
    ///@}

    /// Removes the first value and returns it; null for an empty list.
    V RemoveFirst()
    {
        if (!first_)
            return V();
        V value = std::move(static_cast<Node*>(first_)->Value());
        Erase(first_);
        return value;
    }

    /// 1 if some entry equals the value.
    int Contains(const V& value) const
    {
        for (detail::ListNode* n = first_; n; n = n->next)
            if (static_cast<Node*>(n)->Value() == value)
                return 1;
        return 0;
    }

    /// Removes the first entry equal to the value; returns 1 if there was one.
    int Remove(const V& value)
    {
        for (detail::ListNode* n = first_; n; n = n->next)
            if (static_cast<Node*>(n)->Value() == value)
            {
                Erase(n);
                return 1;
            }
        return 0;
    }

    /// Removes every entry.
    void Clear() { EraseAll(); }

    /// The end of a walk, for range-for.
    struct Sentinel
    {
    };

    /// Walks the list in order; see the class comment for what may change during a visit. An
    /// iterator follows the list it walks, so it can be neither copied nor moved: use it in a
    /// range-based for.
    class iterator
    {
      public:
        /// The element type.
        using value_type = V;
        /// For the iterator concepts.
        using difference_type = std::ptrdiff_t;

        /// Starts a walk of `list` at `first`; begin() makes these.
        iterator(const ListCore& list, detail::ListNode* first) : node_(first)
        {
            if (!first)
                return;
            walk_.next = first->next;
            list.Register(&walk_);
        }
        iterator(const iterator&) = delete;
        iterator& operator=(const iterator&) = delete;
        ~iterator()
        {
            if (walk_.list)
                walk_.list->Unregister(&walk_);
        }

        /// The value at this position.
        V& operator*() const { return static_cast<Node*>(node_)->Value(); }
        /// The value at this position.
        V* operator->() const { return &static_cast<Node*>(node_)->Value(); }
        /// Steps to the next entry still in the list.
        iterator& operator++()
        {
            node_ = walk_.next;
            if (node_)
                walk_.next = node_->next;
            else if (walk_.list)
                walk_.list->Unregister(&walk_);
            return *this;
        }
        /// True at the end of the walk.
        bool operator==(Sentinel) const { return node_ == nullptr; }

      private:
        detail::ListNode* node_ = nullptr; // the entry being visited; it may be gone during the visit
        detail::ListWalk walk_;
    };

    /// The first entry, for range-for.
    iterator begin() const { return iterator(*this, first_); }
    /// The end of the walk.
    Sentinel end() const { return {}; }

  private:
    static void FreeNode(detail::ListNode* base)
    {
        Node* node = static_cast<Node*>(base);
        V value = std::move(node->Value());
        node->Value().~V();
        detail::NodePool<V>::Get().Give(node);
        // The element dies at the end of this scope, after the node is back in the pool: its
        // destructor may touch lists.
        (void)value;
    }
};

/// A shared handle on a list; the collision queries and GetConstraints return these (possibly null).
template <class V> using TListRef = std::shared_ptr<TList<V>>;

} // namespace ravel
