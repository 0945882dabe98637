#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QListWidget;
class QSpinBox;
class QTextEdit;
class QToolButton;

namespace kavo {

class TCase;
class TCommentedObject;
class TRelationsDiagram;
struct TRelationRequest;

// The window "Actor relations": the actors of a case on an ellipse with their relations as
// coloured arrows. The user picks a focal actor, draws relations of a chosen type from it, selects
// an arrow to change its strength or delete it, filters the arrows around the focal actor, hides
// types and edits the comments of actors and relations. Changes go to the case through the
// functions the window is given, which make them undoable.
class TActorRelationDlg : public QDialog {
    Q_OBJECT

  public:
    // Sets one type's strength of a relation (0 removes it).
    using TChangeRelation = std::function<void(const TRelationRequest& request)>;
    // Makes the text the comment of an actor or a relation.
    using TChangeComment = std::function<void(TCommentedObject& item, const std::string& text)>;

    TActorRelationDlg(TCase& owningCase, TChangeRelation changeRelation,
                      TChangeComment changeComment, QWidget* parent = nullptr);
    ~TActorRelationDlg() override;

    TRelationsDiagram& Diagram() const { return *Shown; }
    QWidget* Picture() const { return PictureArea; }
    QAbstractButton* FocalButton() const;
    // The tool buttons of the types, in type order; affect has a positive and a negative one.
    QAbstractButton* TypeButton(int type, bool negative = false) const;
    QSpinBox* StrengthControl() const { return Strength; }
    QSpinBox* TailControl() const { return Tail; }
    QAbstractButton* FilterButton(int filter) const;
    QToolButton* DeleteButton() const { return DeleteBtn; }
    QToolButton* CopyButton() const { return CopyBtn; }
    QListWidget* VisibleTypes() const { return Types; }
    QTextEdit* CommentBox() const { return Comment; }
    QToolButton* EditCommentButton() const { return EditBtn; }
    QToolButton* AcceptButton() const { return AcceptBtn; }
    QToolButton* CancelButton() const { return CancelBtn; }
    QLabel* StatusPanel() const { return Status; }

    // The graph on the clipboard as an SVG picture and an image.
    void CopyToClipboard();
    void DeleteSelected();

    void StartCommentEdit();
    void AcceptCommentEdit();
    void CancelCommentEdit();
    // Ends an edit under way, asking whether to keep a changed text.
    void FinishCommentEdit();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* CreateToolBar();
    QWidget* CreateCommentArea();
    void ToolChosen(int id);
    void StrengthChangedByUser(int value);
    void FilterChosen(QAbstractButton* button, bool checked);
    void TypesChecked();
    void PointerMoved(QPoint at);
    void PointerPressed(QPoint at);
    void PointerReleased(QPoint at);
    void Apply(const TRelationRequest& request);
    // The tool bar, the filters, the delete button and the comment box after the state changed.
    void ShowState();
    void ShowComment();
    TCommentedObject* CommentTarget() const;
    QString CommentDescription() const;
    void Redraw();

    TCase& Case;
    TChangeRelation ChangeRelation;
    TChangeComment ChangeComment;
    std::unique_ptr<TRelationsDiagram> Shown;
    QWidget* PictureArea = nullptr;
    QButtonGroup* Tools = nullptr;
    QButtonGroup* Filters = nullptr;
    QSpinBox* Strength = nullptr;
    QSpinBox* Tail = nullptr;
    QToolButton* DeleteBtn = nullptr;
    QToolButton* CopyBtn = nullptr;
    QListWidget* Types = nullptr;
    QTextEdit* Comment = nullptr;
    QToolButton* EditBtn = nullptr;
    QToolButton* AcceptBtn = nullptr;
    QToolButton* CancelBtn = nullptr;
    QLabel* Status = nullptr;
    QString CommentOriginal;
    bool Editing = false;
};

}  // namespace kavo
