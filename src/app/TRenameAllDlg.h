#pragma once

#include "app/TNamingDlg.h"

class QToolButton;

namespace kavo {

class TActor;
class TCase;
class TFactor;

// "Change factor name/actor/type in ALL perceptions": the factor's bare name, and whether it is an
// attribute or an action of an actor chosen from the list, or neither (a plain factor). The caller
// changes the factor.
class TRenameAllDlg : public TNamingDlg {
    Q_OBJECT

  public:
    explicit TRenameAllDlg(QWidget* parent = nullptr);

    // Shows the factor; true after OK.
    bool Ask(const TCase& current, const TFactor& factor);
    QString Name() const;
    // The actor chosen, or null for a plain factor.
    TActor* Owner() const;
    bool IsAction() const;

    QLineEdit* NameEdit() const { return NameField; }
    QComboBox* ActorBox() const { return Actors; }
    QToolButton* AttributeButton() const { return AttributeBtn; }
    QToolButton* ActionButton() const { return ActionBtn; }

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
};

}  // namespace kavo
