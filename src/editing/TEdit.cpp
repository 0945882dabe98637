#include "editing/TEdit.h"

#include <algorithm>
#include <unordered_map>

#include "model/TPerception.h"

namespace kavo {

namespace {

// The results of a perception go out of date whichever way the edit goes.
class TResultsChange : public TChange {
  public:
    TResultsChange(TPerception& perception, bool clear) : Perception(&perception), Clear(clear) {}
    void Apply(bool /*forward*/) override {
        if (Clear) {
            Perception->ClearResults();
        } else {
            Perception->InvalidateResults();
        }
    }

  private:
    TPerception* Perception;
    bool Clear;
};

}  // namespace

TEdit::~TEdit() {
    // Later steps may hold items that refer to items of earlier ones.
    while (!Changes.empty()) {
        Changes.pop_back();
    }
}

void TEdit::Undo() {
    for (auto change = Changes.rbegin(); change != Changes.rend(); ++change) {
        (*change)->Apply(false);
    }
}

void TEdit::Redo() {
    for (const auto& change : Changes) {
        change->Apply(true);
    }
}

void TEdit::Absorb(TEdit&& later) {
    // Steps that only set fields do not depend on each other's order, so a later setting of a field
    // that the steps at the end of this edit set already merges into that step: a long drag or
    // layout run keeps one step per field instead of one per move.
    std::unordered_map<const void*, TChange*> settings;
    for (auto change = Changes.rbegin();
         change != Changes.rend() && (*change)->SetsField() != nullptr; ++change) {
        settings.emplace((*change)->SetsField(), change->get());
    }
    for (auto& change : later.Changes) {
        const void* field = change->SetsField();
        if (field == nullptr) {
            settings.clear();
        } else if (const auto found = settings.find(field);
                   found != settings.end() && found->second->Absorb(*change)) {
            continue;
        }
        if (Changes.empty() || !Changes.back()->Absorb(*change)) {
            if (field != nullptr) {
                settings[field] = change.get();
            }
            Changes.push_back(std::move(change));
        }
    }
    later.Changes.clear();
    for (const auto& [perception, clear] : later.Invalidated) {
        Invalidated.emplace_back(perception, clear);
    }
    TreeChanged = TreeChanged || later.TreeChanged;
    if (later.Focus != nullptr) {
        Focus = later.Focus;
    }
}

long TEdit::NewMergeKey() {
    static long last = 0;
    return ++last;
}

void TEdit::NameIfUnnamed(std::string name) {
    if (Name.empty()) {
        Name = std::move(name);
    }
}

void TEdit::Invalidate(TPerception& perception, bool clear) {
    // Once per perception is enough: the step takes effect in both directions.
    const auto seen = std::find_if(Invalidated.begin(), Invalidated.end(),
                                   [&](const auto& entry) { return entry.first == &perception; });
    if (seen != Invalidated.end() && (seen->second || !clear)) {
        return;
    }
    if (seen != Invalidated.end()) {
        seen->second = true;
    } else {
        Invalidated.emplace_back(&perception, clear);
    }
    Record(std::make_unique<TResultsChange>(perception, clear));
    Changes.back()->Apply(true);
}

void TEdit::Record(std::unique_ptr<TChange> change) {
    Changes.push_back(std::move(change));
}

}  // namespace kavo
