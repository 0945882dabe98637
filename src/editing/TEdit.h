#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/TChange.h"
#include "model/TConceptList.h"

namespace kavo {

class TPerception;

// One undoable change of a case, as the user sees it ("Move 3 factors", "Delete arena"). The edit
// operations (CaseEdits.h, PerceptionEdits.h) change the model through the recording functions
// below, which apply each step at once and keep what it changed: a field's old and new value, an
// item put into or taken out of a list with its place. Undo takes the steps back in reverse order,
// Redo makes them again. An item taken out of the model is kept by its step, not freed, while the
// edit can bring it back, so the same object returns and pointers to it (held by other edits, by
// the selection) stay valid.
//
// An edit that failed half-way is taken back with Undo and dropped: the model is as before.
class TEdit {
  public:
    explicit TEdit(std::string name = {}) : Name(std::move(name)) {}
    TEdit(TEdit&&) noexcept = default;
    TEdit& operator=(TEdit&&) noexcept = default;
    ~TEdit();

    // The name of the step in the Edit menu, such as "Move 3 factors".
    std::string Name;
    // The perception the edit is about, if any: the window shows it after an undo or a redo.
    TPerception* Focus = nullptr;
    // Concepts, their names or the arenas and their actors changed: the case tree must be built
    // again.
    bool TreeChanged = false;
    // Edits with the same key, other than 0, merge into one step when made one after the other
    // (the steps of one pointer drag).
    long MergeKey = 0;
    // A key no other run of edits has used in this program run.
    static long NewMergeKey();

    bool Empty() const { return Changes.empty(); }
    void Undo();
    void Redo();
    // Takes the steps of an edit made right after this one into this one.
    void Absorb(TEdit&& later);
    // Names the edit unless it has a name already: operations name what they do, and a caller that
    // gathers several of them in one edit names it first.
    void NameIfUnnamed(std::string name);

    // --- Recording: each function changes the model and records the step.

    template <typename T, typename U>
    void Set(T& field, U&& value) {
        T newValue(std::forward<U>(value));
        if (field == newValue) {
            return;
        }
        T oldValue = std::move(field);
        field = newValue;
        Record(std::make_unique<TSetChange<T>>(field, std::move(oldValue), std::move(newValue)));
    }
    // The field already holds its new value; oldValue is what it held before.
    template <typename T>
    void Changed(T& field, T oldValue) {
        if (field == oldValue) {
            return;
        }
        Record(std::make_unique<TSetChange<T>>(field, std::move(oldValue), field));
    }

    template <typename T>
    T* Insert(std::vector<std::unique_ptr<T>>& list, std::size_t index, std::unique_ptr<T> item) {
        T* raw = item.get();
        detail::InsertAt(list, index, std::move(item));
        RecordOwned(list, index, true, raw, std::unique_ptr<T>());
        return raw;
    }
    template <typename T>
    T* Append(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item) {
        return Insert(list, list.size(), std::move(item));
    }
    // The model appended the list's last item already.
    template <typename T>
    void Appended(std::vector<std::unique_ptr<T>>& list) {
        RecordOwned(list, list.size() - 1, true, list.back().get(), std::unique_ptr<T>());
    }
    // Takes the item out of the list and keeps it; false when the list does not hold it.
    template <typename T>
    bool Remove(std::vector<std::unique_ptr<T>>& list, const T* item) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [item](const auto& entry) { return entry.get() == item; });
        if (found == list.end()) {
            return false;
        }
        const auto index = static_cast<std::size_t>(found - list.begin());
        T* raw = found->get();
        RecordOwned(list, index, false, raw, detail::TakeAt(list, index));
        return true;
    }

    template <typename T>
    T* InsertConcept(TConceptList<T>& list, int index, std::unique_ptr<T> item) {
        T* raw = list.Insert(index, std::move(item));
        TreeChanged = true;
        RecordOwned(list, static_cast<std::size_t>(index), true, raw, std::unique_ptr<T>());
        return raw;
    }
    // The model has inserted the concept into the list already (find or create).
    template <typename T>
    void ConceptInserted(TConceptList<T>& list, T* item) {
        const int index = list.IndexOf(item);
        if (index >= 0) {
            TreeChanged = true;
            RecordOwned(list, static_cast<std::size_t>(index), true, item, std::unique_ptr<T>());
        }
    }
    template <typename T>
    bool RemoveConcept(TConceptList<T>& list, T* item) {
        const int index = list.IndexOf(item);
        if (index < 0) {
            return false;
        }
        TreeChanged = true;
        RecordOwned(list, static_cast<std::size_t>(index), false, item, list.Take(item));
        return true;
    }
    // Moves the concept to the place its name sorts to, after its name changed.
    template <typename T>
    void Resort(TConceptList<T>& list, T* item) {
        const int from = list.IndexOf(item);
        if (from < 0) {
            return;
        }
        std::unique_ptr<T> taken = list.Take(item);
        const int found = list.FindByName(item->Name);
        const int to = found >= 0 ? found : ~found;
        list.Insert(to, std::move(taken));
        if (to != from) {
            TreeChanged = true;
            Record(std::make_unique<TConceptMoveChange<T>>(list, item, from, to));
        }
    }

    // Puts a reference into a list that does not own it.
    template <typename T>
    void InsertRef(std::vector<T>& list, std::size_t index, T item) {
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), item);
        Record(std::make_unique<TRefListChange<T>>(list, index, true, std::move(item)));
    }
    template <typename T>
    void AppendRef(std::vector<T>& list, T item) {
        InsertRef(list, list.size(), std::move(item));
    }
    // The model appended the list's last reference already.
    template <typename T>
    void RefAppended(std::vector<T>& list) {
        Record(std::make_unique<TRefListChange<T>>(list, list.size() - 1, true, list.back()));
    }
    // Takes the first occurrence of the reference out of the list; false when there is none.
    template <typename T>
    bool RemoveRef(std::vector<T>& list, const T& item) {
        const auto found = std::find(list.begin(), list.end(), item);
        if (found == list.end()) {
            return false;
        }
        const auto index = static_cast<std::size_t>(found - list.begin());
        list.erase(found);
        Record(std::make_unique<TRefListChange<T>>(list, index, false, item));
        return true;
    }

    // The perception's cached results of inference and strategy search go out of date, in both
    // directions. With clear, they are also freed: items they refer to leave or enter the
    // perception.
    void Invalidate(TPerception& perception, bool clear);

    // Records a step the caller made already.
    void Record(std::unique_ptr<TChange> change);

  private:
    template <typename TList, typename T>
    void RecordOwned(TList& list, std::size_t index, bool insertion, T* item,
                     std::unique_ptr<T> held) {
        Record(std::make_unique<TOwnedListChange<TList, T>>(list, index, insertion, item,
                                                            std::move(held)));
    }
    std::vector<std::unique_ptr<TChange>> Changes;
    // The perceptions whose results the edit invalidates, and whether it clears them.
    std::vector<std::pair<TPerception*, bool>> Invalidated;
};

}  // namespace kavo
