#pragma once

#include "app/TNamingDlg.h"

namespace kavo {

// "Name of new arena": one name, neither empty nor beginning with "*" (the simulation's rounds and
// the analyst's views are named so).
class TNewArenaDlg : public TNamingDlg {
    Q_OBJECT

  public:
    explicit TNewArenaDlg(QWidget* parent = nullptr);
    // Clears the field and shows the dialog; true after OK.
    bool Ask();
    QString Name() const;
    QLineEdit* Edit() const { return NameEdit; }

  protected:
    bool Check() override;

  private:
    QLineEdit* NameEdit;
};

}  // namespace kavo
