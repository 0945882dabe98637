#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Names.h"
#include "model/TMessages.h"

namespace kavo {

// An owning list of concepts kept sorted by name under CompareNames. FindByName returns the index
// of the entry with that name, or the bitwise complement (~) of the position where it would go.
template <typename T>
class TConceptList {
  public:
    using Items = std::vector<std::unique_ptr<T>>;

    int FindByName(std::string_view name) const {
        int low = 0;
        int high = Size() - 1;
        while (low <= high) {
            const int middle = low + (high - low) / 2;
            const int order = CompareNames(List[static_cast<std::size_t>(middle)]->Name, name);
            if (order == 0) {
                return middle;
            }
            if (order < 0) {
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        return ~low;
    }

    T* Find(std::string_view name) const {
        const int index = FindByName(name);
        return index >= 0 ? At(index) : nullptr;
    }

    // Inserts at a position that FindByName reported, which keeps the list sorted.
    T* Insert(int position, std::unique_ptr<T> item) {
        T* raw = item.get();
        List.insert(List.begin() + position, std::move(item));
        return raw;
    }

    int IndexOf(const T* item) const {
        for (std::size_t i = 0; i < List.size(); ++i) {
            if (List[i].get() == item) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // Removes the concept and hands it to the caller; empty when it is not in the list.
    std::unique_ptr<T> Take(const T* item) {
        const int index = IndexOf(item);
        if (index < 0) {
            return nullptr;
        }
        std::unique_ptr<T> taken = std::move(List[static_cast<std::size_t>(index)]);
        List.erase(List.begin() + index);
        return taken;
    }

    void Delete(const T* item) { Take(item); }

    // Renames keeping the list sorted and names unique: returns the new index, or a negative value
    // after a warning when the name is empty or already taken (the warning names the concept that
    // has it); then nothing changes.
    int RenameIn(T& item, std::string_view newName, TMessages& messages) {
        const std::string name = Trim(newName);
        if (name.empty()) {
            messages.ShowWarning("Name cannot be empty string");
            return -1;
        }
        if (Size() == 1 && List.front().get() == &item) {
            item.Name = name;
            return 0;
        }
        if (SameName(name, item.Name)) {
            item.Name = name;
            return FindByName(name);
        }
        const int found = FindByName(name);
        if (found >= 0) {
            // The name in use is shown as it is written: names clash without regard to case.
            messages.ShowWarning("Names must be unique: \"" + (*this)[found]->Name +
                                 "\" is in use already");
            return -1;
        }
        const int current = IndexOf(&item);
        if (current < 0) {
            return -1;
        }
        int position = ~found;
        std::unique_ptr<T> taken = Take(&item);
        if (current < position) {
            --position;
        }
        taken->Name = name;
        Insert(position, std::move(taken));
        return position;
    }

    // Sorts again after names changed outside RenameIn.
    void Sort() {
        std::stable_sort(List.begin(), List.end(), [](const auto& a, const auto& b) {
            return CompareNames(a->Name, b->Name) < 0;
        });
    }

    int Size() const { return static_cast<int>(List.size()); }
    bool Empty() const { return List.empty(); }
    T* At(int index) const { return List[static_cast<std::size_t>(index)].get(); }
    T* operator[](int index) const { return At(index); }
    typename Items::const_iterator begin() const { return List.begin(); }
    typename Items::const_iterator end() const { return List.end(); }
    void Clear() { List.clear(); }

  private:
    Items List;
};

}  // namespace kavo
