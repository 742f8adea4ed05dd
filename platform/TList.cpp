// platform/TList.cpp: the untyped linking of TList.
#include "platform/TList.h"

namespace ravel::detail
{

void ListCore::LinkLast(ListNode* node)
{
    node->list = this;
    node->prev = last_;
    node->next = nullptr;
    if (last_)
        last_->next = node;
    else
        first_ = node;
    last_ = node;
    ++count_;
}

void ListCore::LinkFirst(ListNode* node)
{
    node->list = this;
    node->prev = nullptr;
    node->next = first_;
    if (first_)
        first_->prev = node;
    else
        last_ = node;
    first_ = node;
    ++count_;
}

void ListCore::Erase(ListNode* node)
{
    if (node->prev)
        node->prev->next = node->next;
    else
        first_ = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        last_ = node->prev;
    --count_;
    // The node keeps its next pointer until it is reused, but iterators never rely on it.
    freeNode_(node);
}

void ListCore::EraseAll()
{
    // Detach the whole chain before destroying anything: an element's destructor may remove other
    // entries through their links, which must then find them already gone.
    ListNode* n = first_;
    first_ = last_ = nullptr;
    count_ = 0;
    for (ListNode* m = n; m; m = m->next)
        m->list = nullptr;
    while (n)
    {
        ListNode* next = n->next;
        freeNode_(n);
        n = next;
    }
}

} // namespace ravel::detail
