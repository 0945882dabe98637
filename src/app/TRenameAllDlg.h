#pragma once

#include <optional>

#include "app/TNamingDlg.h"
#include "model/TFiP.h"

class QToolButton;

namespace kavo {

class TActor;
class TCase;
class TFactor;

// "Change factor name/actor/type in ALL perceptions": the factor's bare name, and whether it is an
// attribute or an action of an actor chosen from the list, or neither (a plain factor), and the
// aggregation mode of the box the factor was chosen in. The caller changes the factor.
class TRenameAllDlg : public TNamingDlg {
    Q_OBJECT

  public:
    explicit TRenameAllDlg(QWidget* parent = nullptr);

    // Shows the factor and the aggregation mode of its box; without a box the aggregation box is
    // empty and disabled. True after OK.
    bool Ask(const TCase& current, const TFactor& factor,
             std::optional<TOperator> aggregation = std::nullopt);
    QString Name() const;
    // The actor chosen, or null for a plain factor.
    TActor* Owner() const;
    bool IsAction() const;
    // The aggregation mode chosen; ADD when the box was disabled.
    TOperator Operator() const;

    QLineEdit* NameEdit() const { return NameField; }
    QComboBox* ActorBox() const { return Actors; }
    QToolButton* AttributeButton() const { return AttributeBtn; }
    QToolButton* ActionButton() const { return ActionBtn; }
    QComboBox* FiPTypeBox() const { return Aggregation; }

  protected:
    bool Check() override;

  private:
    void KindPressed(QToolButton* pressed);
    void EnableActors(bool enabled);

    const TCase* Current = nullptr;
    QLineEdit* NameField;
    QComboBox* Actors;
    QToolButton* AttributeBtn;
    QToolButton* ActionBtn;
    QComboBox* Aggregation;
};

}  // namespace kavo
