#pragma once

#include <QObject>
#include <QPoint>
#include <memory>

#include "app/TEditFactorDlg.h"

class QMouseEvent;
class QToolButton;

namespace kavo {

class TCaseView;
class TDiagramView;
class TEditGoalDlg;
class TEditLinkDlg;
class TEditProspectDlg;
class TFiP;
class TLink;
class TPerception;

// Which diagram commands the perception's selection allows.
struct TDiagramCommandStates {
    // Exactly one item is selected, and it is a FiP.
    bool DefineGoal = false;
    bool DefineProspect = false;
    // At least one selected item is a FiP.
    bool ClearGoals = false;
    bool TagSelected = false;
    bool Cut = false;
    bool Paste = false;
};

// The pointer gestures on a case window's diagram and its diagram commands: selecting, moving the
// selection, drawing links (in link mode or with Alt), pressing range cells, adding boxes, goals,
// prospects and links through their dialogs, cut, copy and paste. Every change of the perception
// is an edit on the window's undo stack; a whole drag is one step.
class TDiagramEditor : public QObject {
    Q_OBJECT

  public:
    TDiagramEditor(TCaseView& view, TDiagramView& diagram);
    ~TDiagramEditor() override;

    bool LinkMode() const { return Linkmode; }
    void SetLinkMode(bool on);

    void AddFactor(TFactorKind kind);
    void DefineGoal();
    void DefineProspect();
    void EraseGoalsAndProspects();
    void Copy();
    void Cut();
    void Paste();
    void SelectAll();

    TDiagramCommandStates States() const;
    // Connects the diagram tool bar's buttons to the commands.
    void AttachButtons(QWidget& bar);
    // Enables the buttons for an editable diagram, by the selection's states.
    void UpdateButtons(bool editable);

    // The dialogs, for the window's tests.
    TEditFactorDlg& FactorDialog(TFactorKind kind);
    TEditGoalDlg& GoalEditor();
    TEditProspectDlg& ProspectEditor();
    TEditLinkDlg& LinkEditor();

  signals:
    void LinkModeChanged(bool on);
    // The selection or the perception changed what the commands can do.
    void SelectionChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TPerception* Editable() const;
    QPoint DiagramPoint(const QMouseEvent& event) const;
    // The last FiP under the point (drawn on top), else the last link; both null when none.
    void HitTopmost(const TPerception& perception, QPoint at, TFiP*& fip, TLink*& link) const;
    // The first FiP in list order under the point.
    TFiP* FirstFiPAt(const TPerception& perception, QPoint at) const;
    void Press(QMouseEvent& event);
    void Move(QMouseEvent& event);
    void Release(QMouseEvent& event);
    void DoubleClick(QMouseEvent& event);
    // Moves the selected FiPs to follow the pointer, as one step of the drag.
    void Drag();
    void EditLink(TFiP& source, TFiP& target, TLink* old);
    void EditGoalOf(TFiP& fip);
    void EditProspectOf(TFiP& fip);
    TFiP* OnlySelectedFiP() const;
    void Changed();
    // Puts a dialog at the top-left corner of the visible diagram.
    void PlaceAtDiagram(QWidget& dialog) const;
    // While a move or a link is under way: scrolls one step towards the edge the pointer is near
    // (the point in image pixels).
    void ScrollNearEdge(QPoint imagePoint);

    TCaseView& View;
    TDiagramView& Diagram;
    bool Linkmode = false;
    bool Moving = false;
    bool Linking = false;
    QPoint MousePos;
    QPoint DragAnchor;
    // Each drag's steps merge into one undo step under its own key.
    long DragKey = 0;
    int CascadeX = 10;
    int CascadeY = 10;
    std::unique_ptr<TEditFactorDlg> FactorDialogs[3];
    std::unique_ptr<TEditGoalDlg> Goals;
    std::unique_ptr<TEditProspectDlg> Prospects;
    std::unique_ptr<TEditLinkDlg> Links;
    QWidget* Bar = nullptr;
};

}  // namespace kavo
