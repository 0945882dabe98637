#pragma once

#include <memory>

#include "app/TStripEditor.h"
#include "model/TProspect.h"

namespace kavo {

class TFiP;

// The prospect editor ("Prospect"): the upper strip chooses the level, with Shift, Ctrl or Alt for
// uncertainty 1, 2 or 3; the lower strip shows the probability of each level. Up and Down raise and
// lower the uncertainty. It works on a copy of the prospect.
class TEditProspectDlg : public TStripEditor {
    Q_OBJECT

  public:
    explicit TEditProspectDlg(QWidget* parent = nullptr);

    // Starts on a copy of the FiP's prospect, or on a certain prospect of level 0 when old is null.
    void Start(TFiP& fip, const TProspect* old);
    const TProspect& Working() const { return *NewItem; }
    // The edited prospect, after OK.
    std::unique_ptr<TProspect> TakeResult() { return std::move(NewItem); }

  protected:
    void DrawUpper(QPainter& painter) override;
    void DrawLower(QPainter& painter) override;
    void UpperPressed(int level, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) override;
    bool ArrowKey(int key) override;

  private:
    std::unique_ptr<TProspect> NewItem;
};

}  // namespace kavo
