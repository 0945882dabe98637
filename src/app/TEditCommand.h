#pragma once

#include <QUndoCommand>
#include <functional>

#include "editing/TEdit.h"

namespace kavo {

// An edit of a case on its window's undo stack. The edit was made when it was recorded, so the
// stack's first redo, on pushing, leaves the model as it is. After every undo and redo, and on
// pushing, it tells the window, which shows the change.
class TEditCommand : public QUndoCommand {
  public:
    // Called with the edit after it was made, undone (undone set) or made again.
    using TApplied = std::function<void(const TEdit& edit, bool undone)>;

    TEditCommand(TEdit edit, TApplied applied);

    int id() const override;
    // Takes in the next step of the same drag (the same merge key).
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

    const TEdit& Edit() const { return Recorded; }

  private:
    TEdit Recorded;
    TApplied Applied;
    bool Made = true;
};

}  // namespace kavo
