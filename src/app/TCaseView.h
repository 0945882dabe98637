#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/TCaseTree.h"
#include "app/THtmlView.h"
#include "app/TRecovery.h"
#include "casefile/TCaseReader.h"
#include "model/TCase.h"
#include "model/TCaseOptions.h"
#include "model/TContext.h"

class QAction;
class QScrollArea;
class QUndoStack;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace kavo {

class TAiA;
class TAnalysisCatalog;
class TDependencyGraph;
class TArena;
class TCaseStatusBar;
class TCommentedObject;
class TConcept;
class TDiagramEditor;
class TDiagramView;
class TNewActorDlg;
class TNewArenaDlg;
class TRenameActorDlg;
class TRenameAllDlg;
class TSimFactorDlg;
class TPathViewer;
class TTagListDlg;
class TActor;
class TFactor;
class TFiP;
class TInfoPane;
class TLayoutControl;
class TDiagramZoom;
class TEdit;
class TAnalysisDlg;
class TGroupingDlg;
class TPerception;
enum class TShellIcon;

// Which commands of the main window's menus apply to the window's current selection.
struct TCaseCommandStates {
    bool RenameConcept = false;
    bool TagConcept = false;
    bool DeleteConcept = false;
    bool HigherPriority = false;
    bool LowerPriority = false;
    bool LookForCycles = false;
    bool SelectNextCycle = false;
    bool SystemDiagram = false;
    bool NextRound = false;
    bool MergeIntoAnalystView = false;
};

// The window of one open case inside the main window. It owns the case and shows it as a tree of
// arenas and actors or of the dictionary, the comment of the selected item, the diagram of the
// selected perception, an HTML view of the case document or report and a status bar. Every other
// action first finishes a comment edit.
class TCaseView : public QWidget {
    Q_OBJECT

  public:
    explicit TCaseView(TContext& context, QWidget* parent = nullptr);
    ~TCaseView() override;

    TCase& Case() const { return *CaseModel; }
    TDiagramView* DrawingArea() const { return Diagram; }
    // The gestures and commands that edit the diagram.
    TDiagramEditor* DiagramEditor() const { return Editor; }
    TCaseTree* Tree() const { return CaseTree; }
    QTextEdit* CommentBox() const { return CommentEditor; }
    THtmlView* HtmlView() const { return Html; }
    TCaseStatusBar* StatusBar() const { return Status; }

    // Asks for the folder of Save as: the chosen folder, or an empty text when cancelled.
    void SetFolderChooser(std::function<QString()> chooser) { ChooseFolder = std::move(chooser); }

    // Reads the case from its folder, then builds the tree and shows the case document. The window
    // shows whatever was read also when reading failed.
    TReadOutcome Open(const QString& folder);
    // Opens a downloaded copy of a published case as Open does, but leaves the case without a
    // folder, so that saving asks for one of the user's own.
    bool OpenCopy(const QString& folder);
    // Writes the case into its folder, or does Save as when it has none. True when the case is
    // saved afterwards.
    bool Save();
    // Asks for a folder, and before replacing another case document there, whether to; then
    // writes the case into it.
    bool SaveAs();
    // Opens a recovery copy found at start: the case as the copy holds it, with its own folder
    // (so that Save writes it where it belongs), modified.
    bool OpenRecovered(const TRecovery::TFound& found);
    // Writes a recovery copy of the modified case when it changed since the last one; not while a
    // computation runs. A copy that cannot be written is said in the status line.
    void Autosave();
    // The case was saved or closed on purpose: its recovery copy goes.
    void DiscardRecovery();
    const TRecovery& RecoveryCopy() const { return Recovery; }

    // Writes the options confirmed in the options dialog into the case, then sizes and draws the
    // diagram again.
    void ChangeOptions(const TCaseOptions& options);

    // Rebuilds the tree in the current mode and selects the root.
    void BuildTree();
    void SwitchTreeMode();
    TArena* SelectedArena() const { return ArenaOfSelection; }
    TAiA* SelectedAiA() const { return AiAOfSelection; }
    // The selected actor's perception, else the selected arena's analyst view, else null.
    TPerception* CurrentPerception() const;

    // The tree commands on the selected node.
    void DeleteItem();
    void RenameConcept();
    void ChangePriority(int step);
    // The simulation: "Initialize round 0" compiles the case into round 0 (after asking to delete
    // the rounds there are); "Next round" executes the round after the selected round arena
    // (after asking to replace the later rounds). Each is one step on the undo stack.
    void InitializeRound0();
    void NextRound();
    // The tree bar's Add arena and Add actor (to the selected arena), through their dialogs.
    void AddArena();
    void AddActor();
    TNewArenaDlg& ArenaDialog();
    TNewActorDlg& ActorDialog();
    // The tag window that Tag item and Tag selected factors open, one for the run; not owned.
    void SetTagDialog(TTagListDlg* dialog) { TagDialog = dialog; }
    // Tag item: the tags of the selected tree item's concept (for an actor in an arena, its
    // actor). Tag selected factors: the tags of the factors of the selected boxes. Each opening of
    // the tag window is one step on the undo stack.
    void TagItem();
    void TagSelectedFactors();
    // The Case menu's "Tag concept": the tree item when the tree has the focus, else the selected
    // factors when there are any.
    void TagConcept();
    // Renaming an actor, or changing a factor's name, actor and kind, through their dialogs.
    void RenameActorByDialog(TActor& actor);
    // With a box of the diagram, the dialog also sets the box's aggregation mode.
    void ChangeFactorByDialog(TFactor& factor, TFiP* box = nullptr);
    // A factor dropped in the dictionary: on another factor, merged into it after the dialog
    // "Similar factors" confirms; on an actor, made that actor's attribute or action.
    void DropFactor(TFactor* factor, TNodeKind targetKind, void* target);

    TCommentedObject* CommentTarget() const { return Target; }
    bool EditingComment() const { return Editing; }
    void StartCommentEdit();
    void AcceptCommentEdit();
    void CancelCommentEdit();
    // Ends an edit under way, asking whether to keep a changed text.
    void FinishCommentEdit();

    double Zoom() const;
    // One zoom step out (-1) or in (+1), within 20 % to 400 %.
    void StepZoom(int step);
    TDiagramZoom* ZoomControl() const { return Zoomer; }

    // A double click on the diagram tool bar: the state of the perception shown (the change of
    // every factor under the chosen levels, the delayed links and what they carry on) in the
    // window "Path list".
    void ShowPerceptionState();
    TPathViewer& PathList();

    void LookForCycles();
    void SelectNextCycle();
    // Empties the selected arena's analyst view and fills it with the merge of its actors'
    // perceptions, after asking before it overwrites a view that is not empty.
    void MergeIntoAnalystView();
    // The selected arena's analyst view as a system diagram, in a window of its own.
    void ShowSystemDiagram();
    // The relations between the case's actors, to view and edit, in a window of its own.
    void ShowActorRelations();
    // The perception's context menu: "Sensitivity of the best strategy" searches the best
    // strategy at each value of each uncertain item and shows the tornado chart.
    void ShowSensitivity();

    // The quick-analysis pane that the window shows with its InfoBtn and fills as the pointer
    // moves over the diagram and the tree; not owned.
    void SetInfoPane(TInfoPane* pane);
    // The layout window that the window's "Automatic layout" opens on its diagram; not owned.
    void SetLayoutControl(TLayoutControl* layout);
    void OpenLayout();

    // Shows an HTML document (a case document or a report) with its images; the same document
    // again is read anew.
    void ShowDocument(const QString& path);

    // The analyses that the report runs, shared by all case windows; not owned. Opening a case
    // applies its choice of analyses to the catalog, saving stores the catalog's choice in it.
    void SetCatalog(TAnalysisCatalog* catalog) { Catalog = catalog; }
    // The window that shows the dependency graph of a table whose graph switch is selected.
    void SetDependencyGraph(TDependencyGraph* graph) { DependencyGraph = graph; }
    // "Perform analysis": writes the analysis report "Analysis.htm" into the case's folder and
    // shows it. While the analyses run, "Cancel analysis" shows and the case may not change.
    void Analyze();
    // The grouping window that "Define groups" shows and hides; not owned.
    void SetGroupingDialog(TGroupingDlg* dialog);
    // Shows the grouping window for this case, or hides it when it shows this case already.
    void ToggleGrouping();
    // Gives the grouping window this case, when it shows.
    void AttachGrouping();
    // "Configure analysis": shows the window "KAVO analyses" on this case, or hides it.
    void SetAnalysisDialog(TAnalysisDlg* dialog);
    void ToggleAnalysisDialog();
    // Gives the visible window "KAVO analyses" this case to store its choice in.
    void AttachAnalysisDialog();
    void SaveReport();
    void PrintReport();
    void OpenReportInBrowser();

    TCaseCommandStates CommandStates() const { return States; }
    // While a computation runs with events let through, the case may not be changed or closed.
    bool Computing() const { return ComputationRunning; }

    // Asks whether the changes of a modified case are to be saved. False when the user cancels,
    // or when he wants to save and the case could not be saved.
    bool CanClose();

    // Every change of the case is an edit on this stack (see docs/architecture.md). The case is
    // modified exactly when the stack is away from the state last saved or read.
    QUndoStack* UndoStack() const { return Undo.get(); }
    // Whether the case may be changed now; beeps when not (a computation is running).
    bool CanEdit();
    // Puts an edit that was made into the undo stack and shows the change. An empty edit changes
    // nothing and is dropped; false then. While the case may not be changed, the edit is taken
    // back (false).
    bool Perform(TEdit edit);
    // The Edit menu's Undo and Redo: finish a comment edit first.
    void UndoStep();
    void RedoStep();

  signals:
    // The window has agreed to close and is about to go.
    void Closed(kavo::TCaseView* view);
    // The selection changed what the main window's commands can do.
    void CommandStatesChanged();
    // An analysis run asked for the plot of the case's rounds ("Plot results" of the overview).
    void RoundsPlotRequested(kavo::TCaseView* view);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* CreateUpperHalf();
    void TreeContextMenu(QPoint at);
    QWidget* CreateLowerHalf();
    QToolButton* AddButton(QToolBar* bar, TShellIcon icon, const QString& hint, const char* name);
    void NodeSelected();
    void SelectFromNode(QTreeWidgetItem* node);
    // The states of the commands that depend on the selection and the perception shown.
    void UpdateCommandStates();
    void UpdateCommentTarget();
    QString CommentDescription() const;
    void SetStatusText(const QString& text);
    // The catalog's choice of analyses goes into the case file.
    void StoreAnalysisSelection();
    void RenameNode(TNodeKind kind, void* object, const QString& text);
    bool ConfirmDelete(const QString& question);
    void OpenTagDialog(std::vector<TConcept*> targets);
    void UpdateCaption();
    void SetComputing(bool running);
    void ShowInfo(bool shown);
    void InfoShown(bool visible);
    void ExplainDiagramPointer(int x, int y);
    void ExplainTreePointer(QPoint at);
    // The layout window follows the perception shown, and closes when it is gone.
    void FollowLayout();
    void LayoutStepped(TPerception* perception);
    void LayoutStepDue(TPerception* perception);
    bool ShowsLayout() const;
    void StopLayout();
    // Shows what an edit changed: the tree, the perception it is about, the comment and the
    // command states. After an undo or a redo the window shows the perception the edit is about.
    void EditApplied(const TEdit& edit, bool undone);
    void RebuildTreeKeepingSelection();
    // Whether the comment box's target is still part of the case shown.
    bool TargetShown() const;

    TContext& Context;
    std::unique_ptr<TCase> CaseModel;
    // Its edits hold items taken out of the case: it goes before the case.
    std::unique_ptr<QUndoStack> Undo;
    std::function<QString()> ChooseFolder;

    TCaseTree* CaseTree = nullptr;
    QTextEdit* CommentEditor = nullptr;
    TDiagramView* Diagram = nullptr;
    TDiagramEditor* Editor = nullptr;
    TNewArenaDlg* NewArena = nullptr;
    TNewActorDlg* NewActor = nullptr;
    TRenameActorDlg* RenameActorDialog = nullptr;
    TRenameAllDlg* ChangeFactorDialog = nullptr;
    TSimFactorDlg* SimilarFactors = nullptr;
    TPathViewer* PathViewer = nullptr;
    QToolBar* DiagramBar = nullptr;
    QToolButton* ArenaBtn = nullptr;
    QToolButton* ActorBtn = nullptr;
    QScrollArea* Scroller = nullptr;
    THtmlView* Html = nullptr;
    TCaseStatusBar* Status = nullptr;
    TDiagramZoom* Zoomer = nullptr;

    QToolButton* TreeTypeBtn = nullptr;
    QToolButton* DeleteBtn = nullptr;
    QToolButton* TagBtn = nullptr;
    TTagListDlg* TagDialog = nullptr;
    QToolButton* InfoBtn = nullptr;
    QPointer<TInfoPane> Info;
    QToolButton* LayoutBtn = nullptr;
    QPointer<TLayoutControl> Layout;
    TAnalysisCatalog* Catalog = nullptr;
    TDependencyGraph* DependencyGraph = nullptr;
    QPointer<TGroupingDlg> Grouping;
    QPointer<TAnalysisDlg> AnalysisWindow;
    // The perception under the pointer in the tree when the pane last explained conflicts; only
    // compared, never followed.
    const TPerception* HoveredPerception = nullptr;
    QToolButton* CommentBtn = nullptr;
    QToolButton* SaveEditBtn = nullptr;
    QToolButton* CancelEditBtn = nullptr;
    // The cancel button's place in its tool bar, which shows it.
    QAction* CancelAction = nullptr;

    TArena* ArenaOfSelection = nullptr;
    TAiA* AiAOfSelection = nullptr;
    TCommentedObject* Target = nullptr;
    // The target again when it is a concept, which names its kind in the edit description.
    TConcept* TargetConcept = nullptr;
    QString CommentOriginal;
    bool Editing = false;
    bool ComputationRunning = false;
    // The case came from the web and has no folder of the user's yet.
    bool DownloadedCopy = false;
    TRecovery Recovery;
    // The undo stack's index when the recovery copy was written; -1 for none.
    int AutosavedIndex = -1;
    TCaseCommandStates States;
};

}  // namespace kavo
