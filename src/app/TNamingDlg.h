#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

class QFormLayout;
class QLineEdit;
class QComboBox;

namespace kavo {

// The frame of the small dialogs that name concepts: labelled fields above OK and Cancel. Esc in
// any field is Cancel; Enter in a field does what the dialog set for it (OK by default). OK calls
// Check, which trims the texts; a refused OK beeps and leaves the dialog open.
class TNamingDlg : public QDialog {
    Q_OBJECT

  public:
    void accept() override;

  protected:
    TNamingDlg(const QString& caption, QWidget* parent);

    // Adds a field under a label; the field belongs to the dialog afterwards.
    void AddField(const QString& label, QWidget* field);
    // A text field, or a text field with a list to choose from.
    QLineEdit* NewLineEdit(const char* name, int maxLength = 0);
    QComboBox* NewComboBox(const char* name, bool editable);
    // The aggregation box "FiPTypeBox": ADD, MUL, MIN, MAX in the order of TOperator.
    QComboBox* NewAggregationBox();
    // What Enter in the field does instead of OK.
    void OnEnter(QWidget* field, std::function<void()> action);
    // Trims the field's text and writes it back; the trimmed text.
    static QString Trimmed(QLineEdit* field);
    static QString Trimmed(QComboBox* field);
    // Whether the dialog may close with OK; false sounds the warning beep.
    virtual bool Check() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QFormLayout* Fields;
    QHash<QObject*, std::function<void()>> EnterActions;
};

}  // namespace kavo
