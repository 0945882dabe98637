#pragma once

#include "app/TNamingDlg.h"

namespace kavo {

class TActor;
class TCase;

// "Name of new actor": the name, chosen from the case's actors or typed, and the short name (at
// most 20 characters). Typing an actor's name fills in its short name. An empty short name becomes
// the first 20 characters of the name.
class TNewActorDlg : public TNamingDlg {
    Q_OBJECT

  public:
    explicit TNewActorDlg(QWidget* parent = nullptr);
    // Shows the dialog for the case with the caption and the short name given; true after OK.
    bool Ask(const TCase& current, const QString& caption, const QString& shortName);
    QString Name() const;
    QString ShortName() const;
    QComboBox* ActorBox() const { return Actors; }
    QLineEdit* ShortEdit() const { return Short; }

  protected:
    TNewActorDlg(const QString& caption, QWidget* parent);
    bool Check() override;
    void NameEntered();

    QComboBox* Actors;
    QLineEdit* Short;
    const TCase* Current = nullptr;

  private:
    void NameTyped(const QString& text);
};

}  // namespace kavo
