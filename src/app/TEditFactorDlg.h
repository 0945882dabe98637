#pragma once

#include "app/TNamingDlg.h"
#include "model/TFiP.h"

namespace kavo {

class TCase;

// What a factor dialog names.
enum class TFactorKind { fkFactor, fkAttribute, fkAction };

// The dialogs "Factor", "Attribute" and "Action" that name a new concept for a diagram: the name,
// chosen from the case's concepts of the kind or typed, for an attribute or action the actor (by
// name or short name), and the aggregation mode of the new box. The caller creates the concept.
class TEditFactorDlg : public TNamingDlg {
    Q_OBJECT

  public:
    TEditFactorDlg(TFactorKind kind, QWidget* parent = nullptr);

    // Shows the dialog for the case with the aggregation box at "ADD"; true after OK.
    bool Ask(const TCase& current);
    // The bare name, trimmed.
    QString Name() const;
    // The short name of the actor of an attribute or action, after OK.
    const QString& ChosenShortName() const { return ChosenShort; }
    // After OK of an attribute or action: the actor field named no actor, so an actor of that
    // name and short name is to be created.
    bool NewActor() const { return ActorIsNew; }
    TOperator Operator() const;

    QComboBox* NameBox() const { return Names; }
    QComboBox* ActorBox() const { return Actors; }
    QComboBox* FiPTypeBox() const { return Aggregation; }

  protected:
    bool Check() override;

  private:
    void NameChosen(int index);
    void CutSuffix();

    TFactorKind Kind;
    const TCase* Current = nullptr;
    QComboBox* Names;
    QComboBox* Actors = nullptr;
    QComboBox* Aggregation;
    QString ChosenShort;
    bool ActorIsNew = false;
};

}  // namespace kavo
