#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "model/TGroup.h"

class QCheckBox;
class QComboBox;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kavo {

class TCase;
class TEdit;
class TTag;

// The tool window "Grouping for analysis": per tab (arena, actor and factor groups) the grouping
// mode of that dimension and the case's groups of that kind, each with its check and its tag set.
// Groups can be added, renamed in place, given other tags and deleted. Every change goes to the
// case through the function the window is given, which makes it undoable.
class TGroupingDlg : public QDialog {
    Q_OBJECT

  public:
    // Takes a made edit into the case's undo stack; false when the case may not change now (the
    // edit is then taken back).
    using TPerform = std::function<bool(TEdit edit)>;
    // Asks for the tags of a group: the chosen tags, or nothing when the user cancels. What the
    // chooser changes besides (tags it makes or renames) it records into the edit, which becomes
    // one undo step with the group's new tags.
    using TChooseTags = std::function<std::optional<std::vector<TTag*>>(
        TEdit& edit, TCase& owningCase, TGroup& group)>;

    explicit TGroupingDlg(QWidget* parent = nullptr);
    ~TGroupingDlg() override;

    // The case the window shows, with the way to change it; null shows nothing.
    void SetCase(TCase* owningCase, TPerform perform);
    TCase* ShownCase() const { return Case; }
    // Shows the window; the first time to the right of the given window (a case window), where
    // it leaves the case window's tool bars free.
    void ShowBeside(const QWidget& window);
    // Replaces the default tag chooser (a list of the case's tags to tick).
    void SetTagChooser(TChooseTags chooser) { ChooseTags = std::move(chooser); }

    // Fills the window again from the case, keeping the tab and the selected group.
    void Rebuild();
    // Rebuilds once the events under way are handled: after any change of the case, which may
    // come from one of the window's own controls.
    void RebuildSoon();

    void AddGroup();
    void ChangeTags();
    void DeleteGroup();

    QTabBar* Tabs() const { return TabBar; }
    QComboBox* ModeChoice() const { return Modes; }
    QCheckBox* MentionedOnlyBox() const { return MentionedBox; }
    QTreeWidget* GroupTree() const { return Tree; }
    QToolButton* AddButton() const { return AddBtn; }
    QToolButton* TagButton() const { return TagBtn; }
    QToolButton* DeleteButton() const { return DeleteBtn; }
    // The group of the tab's kind whose node (or whose tag node) is selected, or null.
    TGroup* SelectedGroup() const;
    // Selects the root node of the group.
    void SelectGroup(const TGroup* group);

  private:
    TGroupKind TabKind() const;
    void ModeChosen(int index);
    void MentionedOnlyToggled(bool checked);
    void NodeChanged(QTreeWidgetItem* node, int column);
    void NodeClicked(QTreeWidgetItem* node, int column);
    void SelectionChanged();
    bool Apply(TEdit edit);
    std::optional<std::vector<TTag*>> ChooseFromList(TCase& owningCase, const TGroup& group);

    TCase* Case = nullptr;
    TPerform Perform;
    TChooseTags ChooseTags;
    QTabBar* TabBar = nullptr;
    QComboBox* Modes = nullptr;
    QCheckBox* MentionedBox = nullptr;
    QTreeWidget* Tree = nullptr;
    QToolButton* AddBtn = nullptr;
    QToolButton* TagBtn = nullptr;
    QToolButton* DeleteBtn = nullptr;
    QTimer Pending;
    // Set while the window fills its controls, whose change signals then mean nothing.
    bool Filling = false;
    bool Placed = false;
};

}  // namespace kavo
