#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "analyses/TAnalysis.h"

class QLabel;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kavo {

class TAnalysisCatalog;
class TAnalysisField;
class TCase;
class TEdit;
class TFieldFormat;

// The tool window "KAVO analyses": the four families of analyses, the analyses of the catalog and
// their fields in one tree, each with its check mark, the explanation of the selected node, and
// the conditional formats of the selected field. A node whose parent is unchecked shows its own
// check mark greyed and does not change; the report runs an analysis when it and its family are
// checked. A change of a check mark goes to the case shown through the function the window is
// given, which makes it undoable; without a case it changes the catalog alone. Formats belong to
// the catalog and change at once.
class TAnalysisDlg : public QDialog {
    Q_OBJECT

  public:
    // Takes a made edit into the case's undo stack; false when the case may not change now (the
    // edit is then taken back).
    using TPerform = std::function<bool(TEdit edit)>;
    // Lets the user change a format; false when the user cancels.
    using TEditFormat = std::function<bool(TFieldFormat& format)>;

    static constexpr int kSlots = 4;

    explicit TAnalysisDlg(TAnalysisCatalog& catalog, QWidget* parent = nullptr);
    ~TAnalysisDlg() override;

    void SetCase(TCase* owningCase, TPerform perform);
    TCase* ShownCase() const { return Case; }
    // Replaces the modal window "Conditional format" (tests).
    void SetFormatEditor(TEditFormat editor) { EditFormat = std::move(editor); }

    // Brings the check marks in line with the catalog.
    void Refresh();

    QTreeWidget* AnalysisTree() const { return Tree; }
    QTextEdit* ExplanationPane() const { return Explanation; }
    QToolButton* FormatButton() const { return FormatBtn; }
    QToolButton* ClearButton() const { return ClearBtn; }
    QLabel* Slot(int number) const { return Slots[static_cast<std::size_t>(number - 1)]; }
    // 1..4, or none when the selected node cannot be formatted.
    std::optional<int> CurrentSlot() const { return Current; }
    // The node of the analysis, of its field (by position), or of the family.
    QTreeWidgetItem* AnalysisNode(const TAnalysis& analysis) const;
    QTreeWidgetItem* FamilyNode(TAnalysisFamily family) const;
    // The field of the selected node, or null.
    TAnalysisField* SelectedField() const;

    // "Change conditional format" and "Clear conditional format" on the current slot.
    void ChangeFormat();
    void ClearFormat();
    void ChooseSlot(int number);
    void ShowFormats();

    // The slot's text: the relation's symbol and its values, the upper value first.
    static QString SlotText(const TFieldFormat& format);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void FillAnalysisTree();
    void CheckChanged(QTreeWidgetItem* node, int column);
    void NodeChanged();
    bool EditFormatModally(TFieldFormat& format);

    TAnalysisCatalog& Catalog;
    TCase* Case = nullptr;
    TPerform Perform;
    TEditFormat EditFormat;
    QTreeWidget* Tree = nullptr;
    QTextEdit* Explanation = nullptr;
    QToolButton* FormatBtn = nullptr;
    QToolButton* ClearBtn = nullptr;
    std::array<QLabel*, kSlots> Slots{};
    std::optional<int> Current;
    // Set while the window sets its check marks, whose change signals then mean nothing.
    bool Filling = false;
    bool Placed = false;
};

}  // namespace kavo
