// platform/TList.h: insertion-ordered doubly linked list with constant-time removal through links.
#pragma once
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

// The part of a list node that links and unlinks it; the element lives in the typed node.
struct ListNode
{
    ListNode* prev = nullptr;
    ListNode* next = nullptr;
    ListCore* list = nullptr; ///< the list holding the node; null while the node is free
    std::uint32_t gen = 1;    ///< bumped each time the node is freed, so stale links can tell
};

// Untyped half of TList: the chain, the count and how to free a node of this list's element type.
class ListCore
{
  public:
    using FreeFn = void (*)(ListNode*);

    explicit ListCore(FreeFn freeNode) : freeNode_(freeNode) {}
    ListCore(const ListCore&) = delete;
    ListCore& operator=(const ListCore&) = delete;

    /// Unlinks the node and frees it; its element is destroyed after the list is consistent again.
    void Erase(ListNode* node);

  protected:
    void LinkLast(ListNode* node);
    void LinkFirst(ListNode* node);
    void EraseAll();

    ListNode* first_ = nullptr;
    ListNode* last_ = nullptr;
    int count_ = 0;

  private:
    FreeFn freeNode_;
};

// Fixed-size node storage for one element type. Nodes are recycled through a free list and their
// memory is never returned, so a link can always look at its node to learn whether it is still live,
// and appending to a list allocates only while the pool grows.
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
    }

  private:
    struct Chunk
    {
        Chunk* older;
    };

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
/// pointers for lists that do not own their elements). Enumeration is in insertion order; the element
/// being visited may be removed during enumeration (the iterator has already stepped past it), and
/// elements appended during enumeration are visited too.
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

    /// A forward iterator over the entries in insertion order (see the class notes on removing and
    /// appending during the walk).
    class iterator
    {
      public:
        /// The element type.
        using value_type = V;
        /// For the iterator concepts.
        using difference_type = std::ptrdiff_t;

        /// The end position.
        iterator() = default;
        /// The position of a node of the list; the list's begin makes these.
        explicit iterator(detail::ListNode* n) : node_(n), next_(n ? n->next : nullptr), gen_(n ? n->gen : 0)
        {
        }
        /// The value at this position.
        V& operator*() const { return static_cast<Node*>(node_)->Value(); }
        /// The value at this position.
        V* operator->() const { return &static_cast<Node*>(node_)->Value(); }
        /// Steps to the next entry still in the list.
        iterator& operator++()
        {
            // While the visited entry is still in place its live successor is right, including entries
            // appended during the visit; once it has been removed, the successor taken before the visit.
            if (node_->gen == gen_ && node_->list)
                node_ = node_->next;
            else
                node_ = next_;
            next_ = node_ ? node_->next : nullptr;
            gen_ = node_ ? node_->gen : 0;
            return *this;
        }
        /// True at the same position.
        bool operator==(const iterator& o) const { return node_ == o.node_; }

      private:
        detail::ListNode* node_ = nullptr;
        detail::ListNode* next_ = nullptr; // taken before the visit, so the visited entry may go
        std::uint32_t gen_ = 0;
    };

    /// The first entry, for range-for.
    iterator begin() const { return iterator(first_); }
    /// The position after the last entry.
    iterator end() const { return iterator(); }

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
