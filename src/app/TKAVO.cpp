#include "app/TKAVO.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "app/TCaseView.h"
#include "app/TErrorDlg.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

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

    CreateFileMenu();
    CreateCaseMenu();
    CreateEditMenu();
    EnableCaseCommands(false);

    RunContext.DefaultFont = TFont{"MS Sans Serif", 8};
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        RunContext.ScreenWidth = screen->size().width();
        RunContext.ScreenHeight = screen->size().height();
    }
    RunContext.DecimalSeparator = LocaleDecimalSeparator();
    RunContext.MonitorChanges = false;
    Settings = TUserSettings::Load(*Messages);
}

TKAVO::~TKAVO() {
    // The cases refer to the context, which would otherwise go before the child windows; a case
    // window that has closed may still wait for its deletion among them.
    delete CaseArea;
}

void TKAVO::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    menu->setObjectName(QStringLiteral("menuFile"));
    QAction* newAction =
        AddAction(menu, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), "actionNew");
    connect(newAction, &QAction::triggered, this, &TKAVO::NewCase);
    AddAction(menu, tr("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), "actionOpen");
    SaveAction = AddAction(menu, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), "actionSave");
    SaveAsAction = AddAction(menu, tr("Save &as"), QKeySequence(), "actionSaveAs");
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
    AddAction(m, tr("&Rename concept"), QKeySequence(Qt::CTRL | Qt::Key_R), "actionRenameConcept",
              g);
    AddAction(m, tr("&Tag concept"), QKeySequence(Qt::CTRL | Qt::Key_T), "actionTagConcept", g);
    AddAction(m, tr("&Delete concept"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
              "actionDeleteConcept", g);
    m->addSeparator();
    QAction* colorCodes =
        AddAction(m, tr("Dra&w with color codes"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
                  "actionColorCodes", g);
    colorCodes->setCheckable(true);
    connect(colorCodes, &QAction::toggled, this,
            [this](bool checked) { RunContext.ShowColorCodes = checked; });
    AddAction(m, tr("Show as &System diagram"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
              "actionSystemDiagram", g);
    AddAction(m, tr("Define &actor relations"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R),
              "actionActorRelations", g);
    m->addSeparator();
    AddAction(m, tr("&Initialize round 0"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I),
              "actionInitializeRound", g);
    AddAction(m, tr("&Next round"), QKeySequence(Qt::Key_F10), "actionNextRound", g)
        ->setEnabled(false);
    m->addSeparator();
    AddAction(m, tr("&Options"), QKeySequence(), "actionOptions", g);
    AddAction(m, tr("Submit for &Publication"), QKeySequence(), "actionSubmit", g);
}

void TKAVO::CreateEditMenu() {
    EditMenu = menuBar()->addMenu(tr("&Edit"));
    EditMenu->setObjectName(QStringLiteral("menuEdit"));
    EditCommands = NonExclusiveGroup(this);
    QMenu* m = EditMenu;
    QActionGroup* g = EditCommands;
    AddAction(m, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), "actionCut", g);
    AddAction(m, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), "actionCopy", g);
    AddAction(m, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), "actionPaste", g);
    AddAction(m, tr("Select A&ll"), QKeySequence(Qt::CTRL | Qt::Key_A), "actionSelectAll", g);
    m->addSeparator();
    AddAction(m, tr("Look for C&ycles"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y),
              "actionLookForCycles", g);
    AddAction(m, tr("&Select Next Cycle"), QKeySequence(Qt::CTRL | Qt::Key_Y),
              "actionSelectNextCycle", g);
    m->addSeparator();
    AddAction(m, tr("Define &Goal"), QKeySequence(Qt::CTRL | Qt::Key_G), "actionDefineGoal", g);
    AddAction(m, tr("Define P&rospect"), QKeySequence(Qt::CTRL | Qt::Key_P), "actionDefineProspect",
              g);
    AddAction(m, tr("&Erase Goals and Prospects"), QKeySequence(Qt::CTRL | Qt::Key_E),
              "actionEraseGoals", g);
    m->addSeparator();
    AddAction(m, tr("&Higher priority"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H),
              "actionHigherPriority", g)
        ->setEnabled(false);
    AddAction(m, tr("&Lower priority"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L),
              "actionLowerPriority", g)
        ->setEnabled(false);
    AddAction(m, tr("&Merge into analyst view"), QKeySequence(Qt::CTRL | Qt::Key_M),
              "actionMergeAnalystView", g)
        ->setEnabled(false);
    m->addSeparator();
    AddAction(m, tr("Copy &Quick Analysis"), QKeySequence(Qt::Key_Insert),
              "actionCopyQuickAnalysis", g)
        ->setEnabled(false);
    AddAction(m, tr("Copy Quick &Analysis as Text"), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
              "actionCopyQuickAnalysisText", g)
        ->setEnabled(false);
}

void TKAVO::EnableCaseCommands(bool enabled) {
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

TCaseView* TKAVO::NewCase() {
    auto* view = new TCaseView(RunContext);
    connect(view, &TCaseView::Closed, this, &TKAVO::CaseClosed);
    CaseArea->addSubWindow(view)->show();
    EnableCaseCommands(true);
    return view;
}

void TKAVO::CloseActiveCase() {
    if (QMdiSubWindow* window = CaseArea->currentSubWindow()) {
        window->close();
    }
}

void TKAVO::CaseClosed(TCaseView* view) {
    // The closing window is still among the sub-windows while it says goodbye.
    const QList<TCaseView*> views = CaseViews();
    EnableCaseCommands(std::any_of(views.begin(), views.end(),
                                   [view](const TCaseView* other) { return other != view; }));
}

void TKAVO::closeEvent(QCloseEvent* event) {
    // Every case is asked before any window goes, so a cancel keeps them all.
    for (TCaseView* view : CaseViews()) {
        if (!view->CanClose()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

}  // namespace kavo
