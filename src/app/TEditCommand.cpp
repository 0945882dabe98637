#include "app/TEditCommand.h"

#include <QString>

#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

// The one id of mergeable commands; their merge keys tell the drags apart.
constexpr int kMergeableId = 1;

}  // namespace

TEditCommand::TEditCommand(TEdit edit, TApplied applied)
    : Recorded(std::move(edit)), Applied(std::move(applied)) {
    setText(ToQString(Recorded.Name));
}

int TEditCommand::id() const {
    return Recorded.MergeKey != 0 ? kMergeableId : -1;
}

bool TEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TEditCommand*>(other);
    if (next == nullptr || next->Recorded.MergeKey != Recorded.MergeKey) {
        return false;
    }
    // The stack deletes the other command after a merge: its steps move over.
    Recorded.Absorb(std::move(const_cast<TEditCommand*>(next)->Recorded));
    return true;
}

void TEditCommand::undo() {
    Recorded.Undo();
    Made = false;
    Applied(Recorded, true);
}

void TEditCommand::redo() {
    if (!Made) {
        Recorded.Redo();
        Made = true;
    }
    Applied(Recorded, false);
}

}  // namespace kavo
