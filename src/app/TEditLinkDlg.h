#pragma once

#include <memory>

#include "app/TStripEditor.h"
#include "model/TLink.h"

namespace kavo {

class TFiP;

// The link editor ("Link"): the upper strip chooses the level, with Shift, Ctrl or Alt for
// uncertainty 1, 2 or 3; the lower strip shows the probability of each level. Up and Down raise and
// lower the uncertainty. It works on a copy of the link.
class TEditLinkDlg : public TStripEditor {
    Q_OBJECT

  public:
    explicit TEditLinkDlg(QWidget* parent = nullptr);

    // Starts on a copy of the link, or on a certain link of level +2 from source to target when old
    // is null.
    void Start(TFiP& source, TFiP& target, const TLink* old);
    const TLink& Working() const { return *NewItem; }
    // The edited link, after OK.
    std::unique_ptr<TLink> TakeResult() { return std::move(NewItem); }

  protected:
    void DrawUpper(QPainter& painter) override;
    void DrawLower(QPainter& painter) override;
    void UpperPressed(int level, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) override;
    bool ArrowKey(int key) override;

  private:
    std::unique_ptr<TLink> NewItem;
};

}  // namespace kavo
