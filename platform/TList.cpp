// platform/TList.cpp: the untyped linking of TList and the walks that follow it.
#include "platform/TList.h"

namespace ravel::detail
{

ListCore::~ListCore()
{
    // Walks still in progress end: they step nowhere once the list is gone.
    for (ListWalk* w = walks_; w; w = w->outer)
    {
        w->next = nullptr;
        w->list = nullptr;
    }
}

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
    // A walk that has visited the old last entry (or whose entries were all removed) goes on here.
    for (ListWalk* w = walks_; w; w = w->outer)
        if (!w->next)
            w->next = node;
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
    // A walk about to step onto the node steps past it instead, before the node can be recycled.
    for (ListWalk* w = walks_; w; w = w->outer)
        if (w->next == node)
            w->next = node->next;
    freeNode_(node);
}

void ListCore::EraseAll()
{
    // Detach the whole chain before destroying anything: an element's destructor may remove other
    // entries through their links, which must then find them already gone. Walks in progress have
    // nothing left ahead of them but what is appended from now on.
    ListNode* n = first_;
    first_ = last_ = nullptr;
    count_ = 0;
    for (ListWalk* w = walks_; w; w = w->outer)
        w->next = nullptr;
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
