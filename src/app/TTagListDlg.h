#pragma once

#include <QDialog>
#include <QHash>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <vector>

class QPushButton;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kavo {

class TCase;
class TConcept;
class TEdit;
class TTag;
class TTagColorDlg;

// "Tags": the case's tags, each with its icon and a mark that says whether the objects to tag
// (concepts, actors, arenas or groups) carry it: all of them (checked), none (unchecked) or some
// (mixed). A press on a mark, or Space, toggles it: unchecked becomes checked, checked and mixed
// become unchecked. OK puts every checked tag on each object that lacks it and takes every
// unchecked tag off, and leaves a mixed one as it is. The window also adds tags, renames them in
// place, describes, recolours and deletes them; those changes stay also after Cancel.
//
// Everything the user does is recorded into the edit the caller gives, so that the caller can put
// the whole opening on the undo stack as one step.
class TTagListDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TTagListDlg(QWidget* parent = nullptr);
    ~TTagListDlg() override;

    // Shows the case's tags for the targets (at least one), with the window's top left corner at
    // the point (screen coordinates). True after OK. The edit is named after what it holds.
    bool Ask(TEdit& edit, TCase& owningCase, std::vector<TConcept*> targets, QPoint topLeft);

    void accept() override;
    void reject() override;

    QTreeWidget* TagTree() const { return Tree; }
    QTextEdit* CommentBox() const { return Comment; }
    QToolButton* AddButton() const { return AddBtn; }
    QToolButton* CommentButton() const { return CommentBtn; }
    QToolButton* ColorButton() const { return ColorBtn; }
    QToolButton* DeleteButton() const { return DeleteBtn; }
    QPushButton* OKButton() const { return OKBtn; }
    QPushButton* CancelButton() const { return CancelBtn; }
    // One colour chooser for the run, whose choice stays from one tag to the next.
    TTagColorDlg& ColorDialog() const { return *Colors; }
    // The node that shows the tag, or null.
    QTreeWidgetItem* NodeOf(const TTag* tag) const;

    void AddTag();
    void ChangeColor();
    void DeleteTag();

  private:
    // Fills the tree from the case's tags, in the case's order, keeping the marks set so far, and
    // selects the tag's node (none for null).
    void Rebuild(const TTag* select);
    // The mark of the tag before the user changed it: whether none, all or some targets carry it.
    Qt::CheckState MarkOnOpening(const TTag* tag) const;
    // The tag's mark as it stands.
    Qt::CheckState MarkOf(const TTag* tag) const;
    TTag* TagOf(const QTreeWidgetItem* node) const;
    TTag* SelectedTag() const;
    void NodeChanged(QTreeWidgetItem* node, int column);
    void CurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    // Renames the tag that was edited in place, then shows the tree again.
    void RenamePending();
    void CommentToggled(bool pressed);
    // Ends a comment edit: stored into the tag it is about, or dropped.
    void EndCommentEdit(bool store);
    // Records the marks into the edit; whether that changed any target.
    bool ApplyMarks();
    // Names the edit after the window's work: "Tag" and the targets when marks changed, else
    // "Edit tags".
    void NameTagEdits(bool marked);
    QString TargetText() const;

    QTreeWidget* Tree;
    QTextEdit* Comment;
    QToolButton* AddBtn;
    QToolButton* CommentBtn;
    QToolButton* ColorBtn;
    QToolButton* DeleteBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    TTagColorDlg* Colors;

    TEdit* Edit = nullptr;
    TCase* Case = nullptr;
    std::vector<TConcept*> Targets;
    // The marks the user set, by tag; a tag without an entry shows its mark on opening.
    QHash<const TTag*, Qt::CheckState> Marks;
    // The tag whose comment is being edited; null when none is.
    TTag* Commented = nullptr;
    // A rename typed in place waits until the editor has let go of the node.
    QTimer RenameTimer;
    TTag* Renamed = nullptr;
    QString RenamedText;
    // Set while the window fills its tree, whose change signals then mean nothing.
    bool Filling = false;
};

}  // namespace kavo
