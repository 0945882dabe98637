#include "app/TKAVO.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>
#include <algorithm>
#include <optional>
#include <vector>

#include "app/FolderLocation.h"
#include "app/TCaseDownload.h"
#include "app/TCaseView.h"
#include "app/TDiagramEditor.h"
#include "app/TDiagramView.h"
#include "app/TEditUtilityDlg.h"
#include "app/TErrorDlg.h"
#include "app/TFindFolderDlg.h"
#include "app/TOptionsDlg.h"
#include "app/TProValMonitorWindow.h"
#include "app/TProblemReportDlg.h"
#include "app/TRoundPlotWindow.h"
#include "app/TStartHint.h"
#include "app/TTagListDlg.h"
#include "editing/TEdit.h"
#include "model/TGroup.h"
#include "qtgui/QtConversions.h"
#include "views/TAnalysisDlg.h"
#include "views/TDependencyGraphDlg.h"
#include "views/TGroupingDlg.h"
#include "views/TInfoPane.h"
#include "views/TLayoutControl.h"

namespace kavo {

namespace {

// How often a modified case is written to its recovery copy.
constexpr int kAutosaveInterval = 3 * 60 * 1000;

QAction* AddAction(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                   const char* objectName, QActionGroup* group = nullptr) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    action->setObjectName(QString::fromLatin1(objectName));
    if (group != nullptr) {
        group->addAction(action);
    }
    return action;
}

// Entries whose commands come with later parts of the program: shown, never enabled.
void Unavailable(QAction* action) {
    action->setEnabled(false);
}

// A folder as a comparable path, whether it exists or not.
QString ComparableFolder(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QActionGroup* NonExclusiveGroup(QObject* parent) {
    auto* group = new QActionGroup(parent);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    return group;
}

char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

}  // namespace

TKAVO::TKAVO(QWidget* parent)
    : QMainWindow(parent),
      Messages(new TErrorDlg(this)),
      RunContext(*Messages, *this, Measure),
      CaseArea(new QMdiArea(this)),
      StatusPanel(new QLabel(this)) {
    setWindowTitle(QStringLiteral("KAVO  (KAVO version %1)").arg(kProgramVersion));
    setCentralWidget(CaseArea);
    StatusPanel->setObjectName(QStringLiteral("statusPanel"));
    statusBar()->addWidget(StatusPanel, 1);
    Info = new TInfoPane(this);
    LayoutWindow = new TLayoutControl(RunContext.Random, this);
    Grouping = new TGroupingDlg(this);
    TagList = new TTagListDlg(this);
    // A group's tags are chosen in the tag window, where tags can be made and changed as well.
    Grouping->SetTagChooser(
        [this](TEdit& edit, TCase& owningCase, TGroup& group) -> std::optional<std::vector<TTag*>> {
            const QWidget& tool = GroupingDialog();
            if (!TagList->Ask(edit, owningCase, {&group}, tool.mapToGlobal(QPoint(0, 0)))) {
                return std::nullopt;
            }
            return group.Tags;
        });
    AnalysisWindow = new TAnalysisDlg(Analyses, this);
    GraphWindow = new TDependencyGraphDlg(*Messages, this);

    CreateFileMenu();
    CreateCaseMenu();
    CreateEditMenu();
    CreateHelpMenu();
    StartHint = new TStartHint(*CaseArea, *findChild<QAction*>(QStringLiteral("actionNew")),
                               *findChild<QAction*>(QStringLiteral("actionOpen")));
    EnableCaseCommands(false);

    RunContext.DefaultFont = TFont{"MS Sans Serif", 8};
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        RunContext.ScreenWidth = screen->size().width();
        RunContext.ScreenHeight = screen->size().height();
    }
    RunContext.DecimalSeparator = LocaleDecimalSeparator();
    RunContext.MonitorChanges = false;
    Settings = TUserSettings::Load(*Messages);
    FolderChooser = new TFindFolderDlg(Settings, this);
    Options = new TOptionsDlg(QSize(RunContext.ScreenWidth, RunContext.ScreenHeight), this);
    auto* utilities = new TEditUtilityDlg(Options);
    Options->SetUtilityEditor([utilities](TUtilityVectors& standard, TUtilityVectors& negative) {
        return utilities->Edit(standard, negative);
    });
    Plotter = new TRoundPlotWindow(*Messages, this);
    AutosaveTimer = new QTimer(this);
    connect(AutosaveTimer, &QTimer::timeout, this, [this] {
        for (TCaseView* view : CaseViews()) {
            view->Autosave();
        }
    });
    AutosaveTimer->start(kAutosaveInterval);
    ProValMonitor = new TProValMonitorWindow(this);
    RunContext.Monitor = ProValMonitor;
    connect(CaseArea, &QMdiArea::subWindowActivated, this, &TKAVO::UpdateCaseCommands);
    // The grouping window shows the case of the active case window.
    connect(CaseArea, &QMdiArea::subWindowActivated, this, [this] {
        if (TCaseView* view = ActiveCase()) {
            view->AttachGrouping();
            view->AttachAnalysisDialog();
        }
    });
}

TKAVO::~TKAVO() {
    // The cases refer to the context, which would otherwise go before the child windows; a case
    // window that has closed may still wait for its deletion among them.
    RunContext.Monitor = nullptr;
    delete CaseArea;
}

void TKAVO::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    menu->setObjectName(QStringLiteral("menuFile"));
    QAction* newAction =
        AddAction(menu, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), "actionNew");
    connect(newAction, &QAction::triggered, this, &TKAVO::NewCase);
    QAction* openAction =
        AddAction(menu, tr("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), "actionOpen");
    connect(openAction, &QAction::triggered, this, &TKAVO::OpenCase);
    QAction* webAction =
        AddAction(menu, tr("Open from &web address..."), QKeySequence(), "actionOpenFromWeb");
    connect(webAction, &QAction::triggered, this, &TKAVO::AskForWebAddress);
    SaveAction = AddAction(menu, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), "actionSave");
    connect(SaveAction, &QAction::triggered, this, &TKAVO::SaveActiveCase);
    SaveAsAction = AddAction(menu, tr("Save &as"), QKeySequence(), "actionSaveAs");
    connect(SaveAsAction, &QAction::triggered, this, &TKAVO::SaveActiveCaseAs);
    menu->addSeparator();
    CloseAction = AddAction(menu, tr("&Close"), QKeySequence(), "actionClose");
    connect(CloseAction, &QAction::triggered, this, &TKAVO::CloseActiveCase);
}

void TKAVO::CreateCaseMenu() {
    CaseMenu = menuBar()->addMenu(tr("&Case"));
    CaseMenu->setObjectName(QStringLiteral("menuCase"));
    CaseCommands = NonExclusiveGroup(this);
    QMenu* m = CaseMenu;
    QActionGroup* g = CaseCommands;
    RenameAction = AddAction(m, tr("&Rename concept"), QKeySequence(Qt::CTRL | Qt::Key_R),
                             "actionRenameConcept", g);
    RouteToCase(RenameAction, &TCaseView::RenameConcept);
    TagAction =
        AddAction(m, tr("&Tag concept"), QKeySequence(Qt::CTRL | Qt::Key_T), "actionTagConcept", g);
    RouteToCase(TagAction, &TCaseView::TagConcept);
    DeleteAction = AddAction(m, tr("&Delete concept"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                             "actionDeleteConcept", g);
    RouteToCase(DeleteAction, &TCaseView::DeleteItem);
    m->addSeparator();
    QAction* colorCodes =
        AddAction(m, tr("Dra&w with color codes"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
                  "actionColorCodes", g);
    colorCodes->setCheckable(true);
    connect(colorCodes, &QAction::toggled, this, [this](bool checked) {
        RunContext.ShowColorCodes = checked;
        for (TCaseView* view : CaseViews()) {
            view->DrawingArea()->Refresh();
        }
    });
    SystemDiagramAction =
        AddAction(m, tr("Show as &System diagram"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
                  "actionSystemDiagram", g);
    RouteToCase(SystemDiagramAction, &TCaseView::ShowSystemDiagram);
    RouteToCase(AddAction(m, tr("Define &actor relations"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R), "actionActorRelations", g),
                &TCaseView::ShowActorRelations);
    m->addSeparator();
    RouteToCase(AddAction(m, tr("&Initialize round 0"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I), "actionInitializeRound", g),
                &TCaseView::InitializeRound0);
    NextRoundAction =
        AddAction(m, tr("&Next round"), QKeySequence(Qt::Key_F10), "actionNextRound", g);
    RouteToCase(NextRoundAction, &TCaseView::NextRound);
    connect(AddAction(m, tr("&Plot simulation results"), QKeySequence(), "actionPlotRounds", g),
            &QAction::triggered, this, [this] {
                if (TCaseView* view = ActiveCase()) {
                    Plotter->ShowPlot(view->Case());
                }
            });
    // The switch that the options dialog's "M" square sets as well.
    MonitorAction =
        AddAction(m, tr("&Monitor distributions"), QKeySequence(), "actionMonitorChanges", g);
    QAction* monitor = MonitorAction;
    monitor->setCheckable(true);
    connect(monitor, &QAction::toggled, this, [this](bool checked) {
        RunContext.MonitorChanges = checked;
        if (checked) {
            ProValMonitor->show();
        }
    });
    m->addSeparator();
    connect(AddAction(m, tr("&Options"), QKeySequence(), "actionOptions", g), &QAction::triggered,
            this, &TKAVO::EditOptions);
    Unavailable(AddAction(m, tr("Submit for &Publication"), QKeySequence(), "actionSubmit", g));
}

void TKAVO::CreateEditMenu() {
    EditMenu = menuBar()->addMenu(tr("&Edit"));
    EditMenu->setObjectName(QStringLiteral("menuEdit"));
    EditCommands = NonExclusiveGroup(this);
    QMenu* m = EditMenu;
    QActionGroup* g = EditCommands;
    UndoGroup = new QUndoGroup(this);
    UndoAction = AddAction(m, tr("&Undo"), QKeySequence::Undo, "actionUndo", g);
    RouteToCase(UndoAction, &TCaseView::UndoStep);
    RedoAction =
        AddAction(m, tr("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), "actionRedo", g);
    RouteToCase(RedoAction, &TCaseView::RedoStep);
    connect(UndoGroup, &QUndoGroup::undoTextChanged, this, &TKAVO::UpdateCaseCommands);
    connect(UndoGroup, &QUndoGroup::redoTextChanged, this, &TKAVO::UpdateCaseCommands);
    connect(UndoGroup, &QUndoGroup::canUndoChanged, this, &TKAVO::UpdateCaseCommands);
    connect(UndoGroup, &QUndoGroup::canRedoChanged, this, &TKAVO::UpdateCaseCommands);
    m->addSeparator();
    // These act on the comment while it is being edited and has the focus, else on the diagram.
    const auto textOrDiagram = [this](const std::function<void(QTextEdit&)>& text,
                                      void (TDiagramEditor::*diagram)()) {
        return [this, text, diagram] {
            if (!OnCommentText(text)) {
                if (TCaseView* view = ActiveCase()) {
                    (view->DiagramEditor()->*diagram)();
                }
            }
        };
    };
    connect(AddAction(m, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), "actionCut", g),
            &QAction::triggered, this,
            textOrDiagram([](QTextEdit& box) { box.cut(); }, &TDiagramEditor::Cut));
    connect(AddAction(m, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), "actionCopy", g),
            &QAction::triggered, this,
            textOrDiagram([](QTextEdit& box) { box.copy(); }, &TDiagramEditor::Copy));
    connect(AddAction(m, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), "actionPaste", g),
            &QAction::triggered, this,
            textOrDiagram([](QTextEdit& box) { box.paste(); }, &TDiagramEditor::Paste));
    connect(
        AddAction(m, tr("Select A&ll"), QKeySequence(Qt::CTRL | Qt::Key_A), "actionSelectAll", g),
        &QAction::triggered, this,
        textOrDiagram([](QTextEdit& box) { box.selectAll(); }, &TDiagramEditor::SelectAll));
    m->addSeparator();
    LookForCyclesAction =
        AddAction(m, tr("Look for C&ycles"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y),
                  "actionLookForCycles", g);
    RouteToCase(LookForCyclesAction, &TCaseView::LookForCycles);
    NextCycleAction = AddAction(m, tr("&Select Next Cycle"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                                "actionSelectNextCycle", g);
    RouteToCase(NextCycleAction, &TCaseView::SelectNextCycle);
    m->addSeparator();
    DefineGoalAction =
        AddAction(m, tr("Define &Goal"), QKeySequence(Qt::CTRL | Qt::Key_G), "actionDefineGoal", g);
    connect(DefineGoalAction, &QAction::triggered, this,
            textOrDiagram({}, &TDiagramEditor::DefineGoal));
    DefineProspectAction = AddAction(m, tr("Define P&rospect"), QKeySequence(Qt::CTRL | Qt::Key_P),
                                     "actionDefineProspect", g);
    connect(DefineProspectAction, &QAction::triggered, this,
            textOrDiagram({}, &TDiagramEditor::DefineProspect));
    connect(AddAction(m, tr("&Erase Goals and Prospects"), QKeySequence(Qt::CTRL | Qt::Key_E),
                      "actionEraseGoals", g),
            &QAction::triggered, this,
            textOrDiagram([](QTextEdit& box) { box.textCursor().removeSelectedText(); },
                          &TDiagramEditor::EraseGoalsAndProspects));
    m->addSeparator();
    HigherPriorityAction =
        AddAction(m, tr("&Higher priority"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H),
                  "actionHigherPriority", g);
    connect(HigherPriorityAction, &QAction::triggered, this, [this] {
        if (TCaseView* view = ActiveCase()) {
            view->ChangePriority(-1);
        }
    });
    LowerPriorityAction =
        AddAction(m, tr("&Lower priority"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L),
                  "actionLowerPriority", g);
    connect(LowerPriorityAction, &QAction::triggered, this, [this] {
        if (TCaseView* view = ActiveCase()) {
            view->ChangePriority(1);
        }
    });
    MergeAnalystViewAction =
        AddAction(m, tr("&Merge into analyst view"), QKeySequence(Qt::CTRL | Qt::Key_M),
                  "actionMergeAnalystView", g);
    RouteToCase(MergeAnalystViewAction, &TCaseView::MergeIntoAnalystView);
    m->addSeparator();
    // Available while the quick-analysis pane shows.
    QAction* copyQuick = AddAction(m, tr("Copy &Quick Analysis"), QKeySequence(Qt::Key_Insert),
                                   "actionCopyQuickAnalysis", g);
    QAction* copyQuickText =
        AddAction(m, tr("Copy Quick &Analysis as Text"), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
                  "actionCopyQuickAnalysisText", g);
    connect(copyQuick, &QAction::triggered, Info, &TInfoPane::CopyPicture);
    connect(copyQuickText, &QAction::triggered, Info, &TInfoPane::CopyText);
    for (QAction* action : {copyQuick, copyQuickText}) {
        action->setEnabled(false);
        connect(Info, &TInfoPane::Shown, action, &QAction::setEnabled);
    }
    UpdateCaseCommands();
}

void TKAVO::CreateHelpMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Help"));
    menu->setObjectName(QStringLiteral("menuHelp"));
    connect(AddAction(menu, tr("&Report a problem..."), QKeySequence(), "actionReportProblem"),
            &QAction::triggered, this, &TKAVO::ReportProblem);
}

void TKAVO::RouteToCase(QAction* action, void (TCaseView::*command)()) {
    connect(action, &QAction::triggered, this, [this, command] {
        if (TCaseView* view = ActiveCase()) {
            (view->*command)();
        }
    });
}

bool TKAVO::OnCommentText(const std::function<void(QTextEdit&)>& command) {
    TCaseView* view = ActiveCase();
    if (view == nullptr) {
        return true;
    }
    QTextEdit* box = view->CommentBox();
    if (box->hasFocus() && !box->isReadOnly()) {
        if (command) {
            command(*box);
        }
        return true;
    }
    return false;
}

void TKAVO::UpdateCaseCommands() {
    const TCaseView* view = ActiveCase();
    const TCaseCommandStates states =
        view != nullptr ? view->CommandStates() : TCaseCommandStates{};
    // While a computation runs in the window, nothing may change or close its case.
    const bool idle = view == nullptr || !view->Computing();
    RenameAction->setEnabled(idle && states.RenameConcept);
    TagAction->setEnabled(idle && states.TagConcept);
    DeleteAction->setEnabled(idle && states.DeleteConcept);
    HigherPriorityAction->setEnabled(idle && states.HigherPriority);
    LowerPriorityAction->setEnabled(idle && states.LowerPriority);
    NextRoundAction->setEnabled(idle && states.NextRound);
    LookForCyclesAction->setEnabled(idle && states.LookForCycles);
    NextCycleAction->setEnabled(idle && states.SelectNextCycle);
    MergeAnalystViewAction->setEnabled(idle && states.MergeIntoAnalystView);
    SystemDiagramAction->setEnabled(idle && states.SystemDiagram);
    const TDiagramCommandStates diagram =
        view != nullptr ? view->DiagramEditor()->States() : TDiagramCommandStates{};
    DefineGoalAction->setEnabled(idle && diagram.DefineGoal);
    DefineProspectAction->setEnabled(idle && diagram.DefineProspect);
    QUndoStack* stack = view != nullptr ? view->UndoStack() : nullptr;
    UndoGroup->setActiveStack(stack);
    const auto stepText = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + QLatin1Char(' ') + step;
    };
    UndoAction->setEnabled(idle && stack != nullptr && stack->canUndo());
    UndoAction->setText(stepText(tr("&Undo"), stack != nullptr ? stack->undoText() : QString()));
    RedoAction->setEnabled(idle && stack != nullptr && stack->canRedo());
    RedoAction->setText(stepText(tr("&Redo"), stack != nullptr ? stack->redoText() : QString()));
    if (view != nullptr) {
        SaveAction->setEnabled(idle);
        SaveAsAction->setEnabled(idle);
        CloseAction->setEnabled(idle);
    }
}

void TKAVO::EnableCaseCommands(bool enabled) {
    StartHint->setVisible(!enabled);
    SaveAction->setEnabled(enabled);
    SaveAsAction->setEnabled(enabled);
    CloseAction->setEnabled(enabled);
    CaseMenu->menuAction()->setEnabled(enabled);
    EditMenu->menuAction()->setEnabled(enabled);
    CaseCommands->setEnabled(enabled);
    EditCommands->setEnabled(enabled);
}

void TKAVO::SetStatusText(const std::string& text) {
    StatusPanel->setText(ToQString(text));
    StatusPanel->repaint();
}

void TKAVO::PumpEvents() {
    QCoreApplication::processEvents();
}

QList<TCaseView*> TKAVO::CaseViews() const {
    QList<TCaseView*> views;
    for (QMdiSubWindow* window : CaseArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* view = qobject_cast<TCaseView*>(window->widget())) {
            views << view;
        }
    }
    return views;
}

TCaseView* TKAVO::ActiveCase() const {
    // The current window stays current while the main window itself is not active.
    QMdiSubWindow* window = CaseArea->currentSubWindow();
    return window != nullptr ? qobject_cast<TCaseView*>(window->widget()) : nullptr;
}

TCaseView* TKAVO::AddCaseView() {
    return ShowCaseView(new TCaseView(RunContext));
}

TCaseView* TKAVO::ShowCaseView(TCaseView* view) {
    UndoGroup->addStack(view->UndoStack());
    // The simulation charts follow every change of their case: new rounds, undone rounds.
    connect(view->UndoStack(), &QUndoStack::indexChanged, this,
            [this, view] { Plotter->CaseChanged(&view->Case()); });
    view->SetFolderChooser([this] { return FolderChooser->ChooseFolder(); });
    connect(view, &TCaseView::Closed, this, &TKAVO::CaseClosed);
    connect(view, &TCaseView::CommandStatesChanged, this, &TKAVO::UpdateCaseCommands);
    connect(view, &TCaseView::RoundsPlotRequested, this,
            [this](TCaseView* asking) { Plotter->ShowPlot(asking->Case()); });
    view->SetInfoPane(Info);
    view->SetLayoutControl(LayoutWindow);
    view->SetCatalog(&Analyses);
    view->SetDependencyGraph(GraphWindow);
    view->SetGroupingDialog(Grouping);
    view->SetTagDialog(TagList);
    view->SetAnalysisDialog(AnalysisWindow);
    QMdiSubWindow* window = CaseArea->addSubWindow(view);
    // Restored from its maximised state, the window keeps its starting size.
    window->resize(view->size());
    window->showMaximized();
    CaseArea->setActiveSubWindow(window);
    EnableCaseCommands(true);
    UpdateCaseCommands();
    return view;
}

TCaseView* TKAVO::NewCase() {
    return AddCaseView();
}

TCaseView* TKAVO::OpenFolder(const QString& folder) {
    const QString wanted = ComparableFolder(folder);
    for (QMdiSubWindow* window : CaseArea->subWindowList()) {
        auto* view = qobject_cast<TCaseView*>(window->widget());
        const std::string& shown = view != nullptr ? view->Case().Folder : std::string();
        if (!shown.empty() && ComparableFolder(ToQString(shown)) == wanted) {
            CaseArea->setActiveSubWindow(window);
            return view;
        }
    }
    auto* view = new TCaseView(RunContext);
    // The catalog takes the case's choice of analyses as the case is read.
    view->SetCatalog(&Analyses);
    view->SetDependencyGraph(GraphWindow);
    if (view->Open(folder) == TReadOutcome::roNotOpened) {
        // The reader has said why; no empty window stays behind.
        delete view;
        return nullptr;
    }
    ShowCaseView(view);
    UpdateCaseCommands();
    FolderChooser->Remember(folder);
    return view;
}

void TKAVO::OpenCase() {
    const QString location = FolderChooser->ChooseLocation();
    if (IsWebAddress(location)) {
        OpenFromWeb(location);
    } else if (!location.isEmpty()) {
        OpenFolder(location);
    }
}

void TKAVO::AskForWebAddress() {
    bool confirmed = false;
    const QString address = QInputDialog::getText(
        this, tr("Open from web address"),
        tr("Web address of a published case (its folder or its \"KAVO case.htm\"):"),
        QLineEdit::Normal, LastWebAddress, &confirmed);
    if (confirmed && !address.trimmed().isEmpty()) {
        LastWebAddress = address.trimmed();
        OpenFromWeb(LastWebAddress);
    }
}

TCaseView* TKAVO::OpenFromWeb(const QString& address) {
    TCaseDownload download(Settings.ScratchFolder, *Messages, this);
    const QString folder = download.Fetch(address);
    if (folder.isEmpty()) {
        return nullptr;
    }
    TCaseView* view = AddCaseView();
    view->OpenCopy(folder);
    UpdateCaseCommands();
    return view;
}

void TKAVO::EditOptions() {
    TCaseView* view = ActiveCase();
    if (view == nullptr || view->Computing()) {
        return;
    }
    Options->SetMonitorOn(MonitorAction->isChecked());
    if (const std::optional<TCaseOptions> options = Options->Edit(view->Case())) {
        MonitorAction->setChecked(Options->MonitorOn());
        view->ChangeOptions(*options);
    }
}

void TKAVO::ReportProblem() {
    TProblemReportDlg dialog(Messages->RecentMessages(), *Messages, this);
    dialog.exec();
}

void TKAVO::SaveActiveCase() {
    if (TCaseView* view = ActiveCase(); view != nullptr && !view->Computing() && view->Save()) {
        FolderChooser->Remember(ToQString(view->Case().Folder));
    }
}

void TKAVO::SaveActiveCaseAs() {
    if (TCaseView* view = ActiveCase(); view != nullptr && !view->Computing()) {
        view->SaveAs();
    }
}

void TKAVO::CloseActiveCase() {
    if (QMdiSubWindow* window = CaseArea->currentSubWindow()) {
        window->close();
    }
}

void TKAVO::CaseClosed(TCaseView* view) {
    Plotter->Forget(&view->Case());
    // The closing window is still among the sub-windows while it says goodbye.
    const QList<TCaseView*> views = CaseViews();
    const bool othersOpen = std::any_of(views.begin(), views.end(),
                                        [view](const TCaseView* other) { return other != view; });
    EnableCaseCommands(othersOpen);
    if (!othersOpen) {
        Info->hide();
    }
}

void TKAVO::closeEvent(QCloseEvent* event) {
    // Every case is asked before any window goes, so a cancel keeps them all.
    for (TCaseView* view : CaseViews()) {
        if (!view->CanClose()) {
            event->ignore();
            return;
        }
    }
    // A normal end leaves no recovery copy behind.
    for (TCaseView* view : CaseViews()) {
        view->DiscardRecovery();
    }
    event->accept();
}

void TKAVO::SetAutosaveInterval(int milliseconds) {
    AutosaveTimer->start(milliseconds);
}

void TKAVO::OfferRecovery() {
    for (const TRecovery::TFound& found : TRecovery::Pending()) {
        const QString where =
            found.Folder.isEmpty()
                ? tr("The case was never saved.")
                : tr("Its document is in \"%1\".").arg(QDir::toNativeSeparators(found.Folder));
        QMessageBox question(
            QMessageBox::Question, tr("Recover case"),
            tr("KAVO did not end normally. A recovery copy of the case \"%1\" was written on %2, "
               "after the case was last saved. %3\n\nOpen the recovered case, or discard the copy?")
                .arg(found.Name, QLocale().toString(found.Written, QLocale::ShortFormat), where),
            QMessageBox::NoButton, this);
        QPushButton* open = question.addButton(tr("Open"), QMessageBox::AcceptRole);
        QPushButton* discard = question.addButton(tr("Discard"), QMessageBox::DestructiveRole);
        question.addButton(tr("Keep for later"), QMessageBox::RejectRole);
        question.setDefaultButton(open);
        question.exec();
        if (question.clickedButton() == open) {
            AddCaseView()->OpenRecovered(found);
            UpdateCaseCommands();
        } else if (question.clickedButton() == discard) {
            TRecovery::Discard(found.Slot);
        }
    }
}

}  // namespace kavo
