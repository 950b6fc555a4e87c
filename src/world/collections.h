#pragma once
// Ordered collections of the game's objects with 1-based positions in insertion order.
// Elements are shared so that a rule can hold on to "this character" or "this item" across
// a script run that may add, remove or reorder elements, and then ask whether it is still
// there: positions go stale, identities do not.
#include <cstddef>
#include <memory>
#include <vector>

namespace morvath {

template <typename T>
class Collection {
public:
    using Ptr = std::shared_ptr<T>;

    // Appends a new empty element and returns it.
    Ptr Add() {
        items_.push_back(std::make_shared<T>());
        return items_.back();
    }
    // Appends an existing element (moving a character or item between collections).
    void Append(Ptr p) { items_.push_back(std::move(p)); }

    // The element at a 1-based position, or nothing for a position that does not exist.
    Ptr Item(long index) const {
        if (index < 1 || static_cast<std::size_t>(index) > items_.size()) return nullptr;
        return items_[static_cast<std::size_t>(index - 1)];
    }
    long Count() const { return static_cast<long>(items_.size()); }
    bool ValidIndex(long index) const { return index >= 1 && index <= Count(); }

    // Removes the element at a 1-based position; false (nothing removed) when it does not exist.
    bool RemoveAt(long index) {
        if (!ValidIndex(index)) return false;
        items_.erase(items_.begin() + (index - 1));
        return true;
    }
    // Removes that very element if it is still here.
    bool Remove(const Ptr& p) {
        long i = IndexOf(p);
        return i > 0 && RemoveAt(i);
    }
    // 1-based position of the element, 0 when it is not in the collection.
    long IndexOf(const Ptr& p) const {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i] == p) return static_cast<long>(i + 1);
        }
        return 0;
    }
    bool Contains(const Ptr& p) const { return IndexOf(p) > 0; }
    // Whether that very element stands at the 1-based position.
    bool Holds(long index, const Ptr& p) const { return ValidIndex(index) && items_[static_cast<std::size_t>(index - 1)] == p; }
    void Clear() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Ptr> items_;
};

}  // namespace morvath
