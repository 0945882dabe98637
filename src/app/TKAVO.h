#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>

#include "ProgramVersion.h"
#include "analyses/TAnalysisCatalog.h"
#include "app/TUserSettings.h"
#include "model/TContext.h"
#include "model/TStatus.h"
#include "qtgui/TQtTextMeasure.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QTextEdit;
class QUndoGroup;

namespace kavo {

class TCaseView;
class TErrorDlg;
class TFindFolderDlg;
class TAnalysisDlg;
class TDependencyGraphDlg;
class TGroupingDlg;
class TTagListDlg;
class TOptionsDlg;
class TProValMonitorWindow;
class TRoundPlotWindow;
class TInfoPane;
class TLayoutControl;
class TStartHint;

// The main window: the menus, one window per open case and the status line. It owns the context
// of the run and is the core's status line.
class TKAVO : public QMainWindow, public TStatus {
    Q_OBJECT

  public:
    // Reads the user's settings, which may show an error when they cannot be stored.
    explicit TKAVO(QWidget* parent = nullptr);
    ~TKAVO() override;

    // Shows the text and repaints the status line at once; an empty text clears it.
    void SetStatusText(const std::string& text) override;
    void PumpEvents() override;

    TContext& Context() { return RunContext; }
    TErrorDlg& MessageDialog() const { return *Messages; }
    const QString& DefaultFolder() const { return Settings.DefaultFolder; }
    const QString& LastLocation() const { return Settings.LastLocation; }
    const QString& ScratchFolder() const { return Settings.ScratchFolder; }

    // The open case windows in the order they were opened.
    QList<TCaseView*> CaseViews() const;
    // The case window the commands act on; null when none is open.
    TCaseView* ActiveCase() const;
    TCaseView* NewCase();
    // Opens the case in the folder in a new window, or activates the window that shows it already.
    // Null, after a warning and without a window, when the folder holds no case document that
    // could be opened.
    TCaseView* OpenFolder(const QString& folder);
    // Downloads the published case at the web address into the scratch folder and opens the
    // copy in a new window, where Save asks for a folder; null when the download failed (with
    // a message) or was cancelled.
    TCaseView* OpenFromWeb(const QString& address);
    TFindFolderDlg& FolderDialog() const { return *FolderChooser; }
    TOptionsDlg& OptionsDialog() const { return *Options; }
    // The window of the simulation charts and the monitor of distributions, one each for the run.
    TRoundPlotWindow& RoundPlot() const { return *Plotter; }
    // The tool window of the dependency graph that Analyze fills.
    TDependencyGraphDlg& DependencyGraph() const { return *GraphWindow; }
    TInfoPane& InfoPane() const { return *Info; }
    TLayoutControl& LayoutControl() const { return *LayoutWindow; }
    TProValMonitorWindow& Monitor() const { return *ProValMonitor; }
    // Offers each recovery copy left by a run that did not end normally: open it or discard it.
    void OfferRecovery();
    // Every case window writes its recovery copy this often (milliseconds) when modified.
    void SetAutosaveInterval(int milliseconds);
    // The analyses the report offers, with the user's choice, for the whole run.
    TAnalysisCatalog& Catalog() { return Analyses; }
    // The tool window "Grouping for analysis", one for the run; it shows the active case.
    TGroupingDlg& GroupingDialog() const { return *Grouping; }
    // The tool window "KAVO analyses", one for the run: the choice of analyses and their formats.
    TAnalysisDlg& AnalysisDialog() const { return *AnalysisWindow; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateFileMenu();
    void CreateCaseMenu();
    void CreateEditMenu();
    void CreateHelpMenu();
    // The case and edit commands are available only while a case is open.
    void EnableCaseCommands(bool enabled);
    // Sets the entries that depend on the active case window's selection.
    void UpdateCaseCommands();
    void OpenCase();
    void AskForWebAddress();
    void ReportProblem();
    void EditOptions();
    void SaveActiveCase();
    void SaveActiveCaseAs();
    void CloseActiveCase();
    void CaseClosed(TCaseView* view);
    TCaseView* AddCaseView();
    // Puts the window among the case windows, maximised and active; returns it.
    TCaseView* ShowCaseView(TCaseView* view);
    // Runs a text command on the comment box when it is being edited and has the focus; false
    // when it is not.
    bool OnCommentText(const std::function<void(QTextEdit&)>& command);
    // Connects the entry to a command of the active case window.
    void RouteToCase(QAction* action, void (TCaseView::*command)());

    TErrorDlg* Messages;
    TQtTextMeasure Measure;
    TContext RunContext;
    TUserSettings Settings;
    TAnalysisCatalog Analyses;

    QMdiArea* CaseArea;
    QLabel* StatusPanel;
    TStartHint* StartHint = nullptr;
    QAction* SaveAction = nullptr;
    QAction* SaveAsAction = nullptr;
    QAction* CloseAction = nullptr;
    TFindFolderDlg* FolderChooser = nullptr;
    TRoundPlotWindow* Plotter = nullptr;
    TInfoPane* Info = nullptr;
    TLayoutControl* LayoutWindow = nullptr;
    TProValMonitorWindow* ProValMonitor = nullptr;
    TOptionsDlg* Options = nullptr;
    TGroupingDlg* Grouping = nullptr;
    // The tag window of Tag item, Tag selected factors and the groups' tag sets.
    TTagListDlg* TagList = nullptr;
    TAnalysisDlg* AnalysisWindow = nullptr;
    TDependencyGraphDlg* GraphWindow = nullptr;
    QAction* MonitorAction = nullptr;
    QTimer* AutosaveTimer = nullptr;
    // The web address typed last, offered again by "Open from web address".
    QString LastWebAddress;
    // The undo stack of the active case window, for the texts of Undo and Redo.
    QUndoGroup* UndoGroup = nullptr;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* RenameAction = nullptr;
    QAction* TagAction = nullptr;
    QAction* DeleteAction = nullptr;
    QAction* HigherPriorityAction = nullptr;
    QAction* LowerPriorityAction = nullptr;
    QAction* NextRoundAction = nullptr;
    QAction* LookForCyclesAction = nullptr;
    QAction* NextCycleAction = nullptr;
    QAction* MergeAnalystViewAction = nullptr;
    QAction* SystemDiagramAction = nullptr;
    QAction* DefineGoalAction = nullptr;
    QAction* DefineProspectAction = nullptr;
    QMenu* CaseMenu = nullptr;
    QMenu* EditMenu = nullptr;
    // Disabling a group also stops its shortcuts, and entries disabled on their own stay so when
    // the group is enabled again.
    QActionGroup* CaseCommands = nullptr;
    QActionGroup* EditCommands = nullptr;
};

}  // namespace kavo
