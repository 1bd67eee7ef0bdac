#pragma once

#include <memory>
#include <vector>

// Raised for list accesses outside a list; callers check indexes first.
[[noreturn]] void ThrowListIndexError(int index);

// An owning, ordered list. Items are handed in and out as unique pointers; `Extract` takes an item
// out without freeing it.
template <typename T>
class TFBOwningList {
public:
    TFBOwningList() = default;
    TFBOwningList(const TFBOwningList&) = delete;
    TFBOwningList& operator=(const TFBOwningList&) = delete;
    ~TFBOwningList() { Clear(); }

    int Count() const { return static_cast<int>(items_.size()); }
    T* Items(int index) const {
        if (index < 0 || index >= Count())
            ThrowListIndexError(index);
        return items_[index].get();
    }
    T* First() const { return items_.empty() ? nullptr : items_.front().get(); }
    T* Last() const { return items_.empty() ? nullptr : items_.back().get(); }
    int IndexOf(const T* item) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }
    T* Add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    T* Insert(int index, std::unique_ptr<T> item) {
        if (index < 0 || index > Count())
            ThrowListIndexError(index);
        return items_.insert(items_.begin() + index, std::move(item))->get();
    }
    void Delete(int index) {
        if (index < 0 || index >= Count())
            ThrowListIndexError(index);
        std::unique_ptr<T> doomed = std::move(items_[index]);
        items_.erase(items_.begin() + index);
        // Freed only after it left the list, so that its destructor sees a consistent list.
        doomed.reset();
    }
    void Remove(T* item) {
        const int index = IndexOf(item);
        if (index >= 0)
            Delete(index);
    }
    std::unique_ptr<T> Extract(T* item) {
        const int index = IndexOf(item);
        if (index < 0)
            return nullptr;
        std::unique_ptr<T> taken = std::move(items_[index]);
        items_.erase(items_.begin() + index);
        return taken;
    }
    void Move(int from, int to) {
        if (from < 0 || from >= Count())
            ThrowListIndexError(from);
        if (to < 0 || to >= Count())
            ThrowListIndexError(to);
        std::unique_ptr<T> item = std::move(items_[from]);
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, std::move(item));
    }
    void Clear() {
        // Items are freed one by one from the end, each after it left the list.
        while (!items_.empty()) {
            std::unique_ptr<T> doomed = std::move(items_.back());
            items_.pop_back();
            doomed.reset();
        }
    }

    // Range-for over the items as plain pointers.
    class const_iterator {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit const_iterator(Base it) : it_(it) {}
        T* operator*() const { return it_->get(); }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return it_ != other.it_; }

    private:
        Base it_;
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};
