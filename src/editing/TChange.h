#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "model/TConceptList.h"

namespace kavo {

// One recorded step of an edit. It was applied when it was recorded; Apply(false) takes it back
// and Apply(true) makes it again. A step keeps only what it changed.
class TChange {
  public:
    virtual ~TChange() = default;
    virtual void Apply(bool forward) = 0;
    // Takes in a step recorded right after this one, when the two can be one; false otherwise.
    virtual bool Absorb(TChange& /*later*/) { return false; }
    // The field a step sets as a whole, if that is what it does; null for every other kind.
    virtual const void* SetsField() const { return nullptr; }
};

// A field set to a new value; keeps the old and the new value.
template <typename T>
class TSetChange : public TChange {
  public:
    TSetChange(T& field, T oldValue, T newValue)
        : Field(&field), Old(std::move(oldValue)), New(std::move(newValue)) {}
    void Apply(bool forward) override { *Field = forward ? New : Old; }
    bool Absorb(TChange& later) override {
        auto* same = dynamic_cast<TSetChange*>(&later);
        if (same == nullptr || same->Field != Field) {
            return false;
        }
        New = std::move(same->New);
        return true;
    }
    const void* SetsField() const override { return Field; }

  private:
    T* Field;
    T Old;
    T New;
};

namespace detail {

template <typename T>
std::size_t Size(const std::vector<std::unique_ptr<T>>& list) {
    return list.size();
}

template <typename T>
std::size_t IndexOf(const std::vector<std::unique_ptr<T>>& list, const T* item) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == item) {
            return i;
        }
    }
    return list.size();
}

template <typename T>
void InsertAt(std::vector<std::unique_ptr<T>>& list, std::size_t index, std::unique_ptr<T> item) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
}

template <typename T>
std::unique_ptr<T> TakeAt(std::vector<std::unique_ptr<T>>& list, std::size_t index) {
    std::unique_ptr<T> item = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return item;
}

template <typename T>
std::size_t Size(const TConceptList<T>& list) {
    return static_cast<std::size_t>(list.Size());
}

template <typename T>
std::size_t IndexOf(const TConceptList<T>& list, const T* item) {
    const int index = list.IndexOf(item);
    return index >= 0 ? static_cast<std::size_t>(index) : Size(list);
}

template <typename T>
void InsertAt(TConceptList<T>& list, std::size_t index, std::unique_ptr<T> item) {
    list.Insert(static_cast<int>(index), std::move(item));
}

template <typename T>
std::unique_ptr<T> TakeAt(TConceptList<T>& list, std::size_t index) {
    return list.Take(list.At(static_cast<int>(index)));
}

}  // namespace detail

// An owned item put into a list, or taken out of it, at a place. While the item is out of the list
// this step owns it, so that pointers to it stay valid and undo brings back the same object. The
// item is found by identity when it is taken out: saving sorts a perception's lists, so its place
// may have changed since.
template <typename TList, typename T>
class TOwnedListChange : public TChange {
  public:
    // For an insertion, held is null (the list holds item); for a removal, the item taken out.
    TOwnedListChange(TList& list, std::size_t index, bool insertion, T* item,
                     std::unique_ptr<T> held)
        : List(&list), Index(index), Insertion(insertion), Item(item), Held(std::move(held)) {}
    void Apply(bool forward) override {
        if (forward == Insertion) {
            detail::InsertAt(*List, std::min(Index, detail::Size(*List)), std::move(Held));
        } else {
            Index = detail::IndexOf(*List, static_cast<const T*>(Item));
            if (Index < detail::Size(*List)) {
                Held = detail::TakeAt(*List, Index);
            }
        }
    }

  private:
    TList* List;
    std::size_t Index;
    bool Insertion;
    T* Item;
    std::unique_ptr<T> Held;
};

// A reference (a pointer or a variant of pointers) put into a list that does not own it, or taken
// out of it, at a place; found by its value when it is taken out.
template <typename T>
class TRefListChange : public TChange {
  public:
    TRefListChange(std::vector<T>& list, std::size_t index, bool insertion, T item)
        : List(&list), Index(index), Insertion(insertion), Item(std::move(item)) {}
    void Apply(bool forward) override {
        if (forward == Insertion) {
            const std::size_t index = std::min(Index, List->size());
            List->insert(List->begin() + static_cast<std::ptrdiff_t>(index), Item);
            return;
        }
        const auto found = std::find(List->begin(), List->end(), Item);
        if (found != List->end()) {
            Index = static_cast<std::size_t>(found - List->begin());
            List->erase(found);
        }
    }

  private:
    std::vector<T>* List;
    std::size_t Index;
    bool Insertion;
    T Item;
};

// A concept moved from one place of its list to another, after its name changed.
template <typename T>
class TConceptMoveChange : public TChange {
  public:
    TConceptMoveChange(TConceptList<T>& list, T* item, int from, int to)
        : List(&list), Item(item), From(from), To(to) {}
    void Apply(bool forward) override {
        std::unique_ptr<T> taken = List->Take(Item);
        if (taken) {
            List->Insert(std::min(forward ? To : From, List->Size()), std::move(taken));
        }
    }

  private:
    TConceptList<T>* List;
    T* Item;
    int From;
    int To;
};

}  // namespace kavo
