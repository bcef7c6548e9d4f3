// tGenericContainer: the singly linked list in which the grid keeps its rows
// and objects and the data file keeps its jump list.
//
// Nodes are never given back while the container lives: a removed element's
// node is parked right behind the last used node and reused by the next
// append, and removeAll keeps every node. Paging through data empties and
// refills the same lists again and again, and this keeps that free of heap
// traffic. The container never owns what it holds.
#pragma once

#include <cstdint>
#include <new>

#include "Status.h"
#include "Trace.h"

namespace quor {

template <class T>
class tGenericContainer {
public:
    tGenericContainer() = default;
    tGenericContainer(const tGenericContainer&) = delete;
    tGenericContainer& operator=(const tGenericContainer&) = delete;

    ~tGenericContainer()
    {
        Node* node = head_;
        while (node) {
            Node* next = node->next;
            delete node;
            node = next;
        }
    }

    HRESULT addObject(T* object)
    {
        if (!object)
            return E_POINTER;
        if (!tail_) {
            Node* node = new (std::nothrow) Node{object, nullptr};
            if (!node)
                return E_OUTOFMEMORY;
            head_ = tail_ = node;
        } else if (!tail_->object) {
            tail_->object = object;
        } else if (tail_->next) {
            tail_ = tail_->next;
            tail_->object = object;
        } else {
            Node* node = new (std::nothrow) Node{object, nullptr};
            if (!node)
                return E_OUTOFMEMORY;
            tail_->next = node;
            tail_ = node;
        }
        markEnd();
        ++count_;
        return S_OK;
    }

    // Removes the element (every occurrence when allOccurrences is set);
    // the object itself is left alone.
    HRESULT cleanObject(T* object, bool allOccurrences)
    {
        bool removed = false;
        Node* prev = head_;
        Node* node = head_;
        while (node && node->object) {
            if (node->object != object) {
                prev = node;
                node = node->next;
                continue;
            }
            Node* following = unlink(prev, node);
            --count_;
            removed = true;
            if (!allOccurrences || !following)
                break;
            if (node == prev)  // the head went: the walk restarts at the new head
                prev = following;
            node = following;
        }
        return removed ? S_OK : E_FAIL;
    }

    HRESULT removeAll()
    {
        tail_ = head_;
        if (head_)
            head_->object = nullptr;
        count_ = 0;
        // A cursor left inside the old chain would hand out pointers to
        // objects that may be gone by now.
        cursor_ = nullptr;
        return S_OK;
    }

    HRESULT resetToFirst()
    {
        cursor_ = count_ > 0 ? head_ : nullptr;
        return S_OK;
    }

    T* getNext()
    {
        if (!cursor_)
            return nullptr;
        Node* taken = cursor_;
        if (!taken->object) {
            // The end marker: stay at the end rather than walk into the
            // spare nodes, whose pointers are stale.
            cursor_ = nullptr;
            return nullptr;
        }
        cursor_ = taken->next;
        if (taken == tail_ && taken->next)
            taken->next->object = nullptr;
        return taken->object;
    }

    int32_t getCount() const { return count_; }

    T* getAt(int32_t index)
    {
        if (index >= count_)
            return nullptr;
        resetToFirst();
        if (index < 0)
            return nullptr;
        T* object = nullptr;
        for (int32_t i = 0; i <= index; ++i)
            object = getNext();
        return object;
    }

    int32_t indexOf(const T* object)
    {
        resetToFirst();
        int32_t position = 0;
        while (T* element = getNext()) {
            if (element == object)
                return position;
            ++position;
        }
        return -1;
    }

    HRESULT copyFrom(tGenericContainer& other)
    {
        removeAll();
        other.resetToFirst();
        while (T* element = other.getNext())
            addObject(element);
        return S_OK;
    }

private:
    struct Node {
        T* object;
        Node* next;
    };

    // The node after the tail, when there is one, marks the end of the
    // elements for every walk.
    void markEnd()
    {
        if (tail_->next)
            tail_->next->object = nullptr;
    }

    // Takes node out of the element chain; returns the element node that
    // followed it, or null when none did.
    Node* unlink(Node* prev, Node* node)
    {
        if (node == head_) {
            if (head_ == tail_) {
                node->object = nullptr;
                return nullptr;
            }
            if (!node->next) {
                trace("tGenericContainer::cleanObject, Logic error!!! Fix!!\n");
                node->object = nullptr;
                return nullptr;
            }
            head_ = node->next;
            Node* following = head_;
            park(node);
            return following;
        }
        if (node == tail_) {
            tail_->object = nullptr;
            tail_ = prev;
            return nullptr;
        }
        Node* following = node->next;
        prev->next = node->next;
        park(node);
        return following;
    }

    // Parks a node as the first spare, right after the tail.
    void park(Node* node)
    {
        node->next = tail_->next;
        tail_->next = node;
        node->object = nullptr;
    }

    int32_t count_ = 0;
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    Node* cursor_ = nullptr;
};

}  // namespace quor
