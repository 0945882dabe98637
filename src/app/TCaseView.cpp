#include "app/TCaseView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "analyses/Sensitivity.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TAnalysisRun.h"
#include "analyses/TGroupingSettings.h"
#include "analyses/TRoundsOverview.h"
#include "app/FolderLocation.h"
#include "app/ShellIcons.h"
#include "app/TCaseFiles.h"
#include "app/TCaseStatusBar.h"
#include "app/TDiagramEditor.h"
#include "app/TDiagramView.h"
#include "app/TDiagramZoom.h"
#include "app/TEditCommand.h"
#include "app/THtmlView.h"
#include "app/TNewActorDlg.h"
#include "app/TNewArenaDlg.h"
#include "app/TPathViewer.h"
#include "app/TQuestionBox.h"
#include "app/TRenameActorDlg.h"
#include "app/TRenameAllDlg.h"
#include "app/TSimFactorDlg.h"
#include "app/TSplitterMemory.h"
#include "app/TTagListDlg.h"
#include "casefile/TCaseWriter.h"
#include "diagram/HitTest.h"
#include "diagram/TRelationsDiagram.h"
#include "editing/CaseEdits.h"
#include "editing/FactorEdits.h"
#include "editing/PerceptionEdits.h"
#include "editing/SimulationEdits.h"
#include "editing/TEdit.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtImageWriter.h"
#include "reasoning/Inference.h"
#include "simulation/Rounds.h"
#include "simulation/StateReport.h"
#include "simulation/TRoundExecution.h"
#include "views/TActorRelationDlg.h"
#include "views/TAnalysisDlg.h"
#include "views/TGroupingDlg.h"
#include "views/TInfoPane.h"
#include "views/TLayoutControl.h"
#include "views/TSensitivityWindow.h"
#include "views/TSystemDiagramDlg.h"

namespace kavo {

namespace {

constexpr int kStartWidth = 650;
constexpr int kStartHeight = 550;
constexpr int kUpperHeight = 168;
constexpr int kCommentWidth = 231;
constexpr int kReportWidth = 256;
constexpr int kSplitterWidth = 4;
const QString kEditingStyle = QStringLiteral("QTextEdit { background: #C0DCC0; }");

QString JoinedComment(const TCommentedObject& item) {
    QStringList lines;
    for (const std::string& line : item.Comment) {
        lines << ToQString(line);
    }
    return lines.join(QLatin1Char('\n')).trimmed();
}

QToolBar* VerticalBar(QWidget* parent, const char* name) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(16, 16));
    bar->setFixedWidth(25);
    bar->setContentsMargins(0, 0, 0, 0);
    return bar;
}

// A splitter that comes back where the user left it last; the name keys it in the settings.
QSplitter* Splitter(Qt::Orientation orientation, QWidget* parent, const char* name) {
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setObjectName(QString::fromLatin1(name));
    splitter->setHandleWidth(kSplitterWidth);
    splitter->setChildrenCollapsible(false);
    new TSplitterMemory(*splitter, QStringLiteral("CaseWindow/") + QString::fromLatin1(name));
    return splitter;
}

QString PerceptionDescription(const TPerception& perception) {
    if (const TAiA* record = perception.AiAOwner()) {
        return QStringLiteral("perception of ") + ToQString(record->Actor->Name);
    }
    if (const TArena* arena = perception.ArenaOwner()) {
        return QStringLiteral("analyst view on arena ") + ToQString(arena->Name);
    }
    return ToQString(perception.OwnerName());
}

}  // namespace

TCaseView::TCaseView(TContext& context, QWidget* parent)
    : QWidget(parent),
      Context(context),
      CaseModel(std::make_unique<TCase>(context)),
      Undo(std::make_unique<QUndoStack>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Saving makes the stack clean without moving it: both signals count.
    const auto followSavedState = [this] {
        CaseModel->Modified = !Undo->isClean();
        setWindowModified(CaseModel->Modified);
    };
    connect(Undo.get(), &QUndoStack::indexChanged, this, followSavedState);
    connect(Undo.get(), &QUndoStack::cleanChanged, this, followSavedState);
    resize(kStartWidth, kStartHeight);

    auto* halves = Splitter(Qt::Vertical, this, "halves");
    halves->addWidget(CreateUpperHalf());
    halves->addWidget(CreateLowerHalf());
    halves->setSizes({kUpperHeight, kStartHeight - kUpperHeight});
    halves->setStretchFactor(1, 1);

    Status = new TCaseStatusBar(this);
    Status->setObjectName(QStringLiteral("caseStatusBar"));
    Zoomer = new TDiagramZoom(*Diagram, *Scroller, *Status, *this);
    connect(Diagram, &TDiagramView::PointerMoved, Status, &TCaseStatusBar::SetCoordinates);
    connect(Diagram, &TDiagramView::PointerMoved, this, &TCaseView::ExplainDiagramPointer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(halves, 1);
    layout->addWidget(Status);

    Diagram->SetAreaSize(CaseModel->MaxWidth, CaseModel->MaxHeight);
    UpdateCaption();
    BuildTree();
}

TCaseView::~TCaseView() = default;

QToolButton* TCaseView::AddButton(QToolBar* bar, TShellIcon icon, const QString& hint,
                                  const char* name) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(ShellIcon(icon));
    button->setToolTip(hint);
    button->setFixedSize(25, 24);
    button->setAutoRaise(true);
    // Until the command behind it exists the button is shown but disabled.
    button->setEnabled(false);
    bar->addWidget(button);
    return button;
}

QWidget* TCaseView::CreateUpperHalf() {
    auto* upper = new QWidget(this);
    auto* treeBar = VerticalBar(upper, "treeBar");
    TreeTypeBtn =
        AddButton(treeBar, TShellIcon::siTreeType, tr("Switch to dictionary view"), "TreeTypeBtn");
    ArenaBtn = AddButton(treeBar, TShellIcon::siAddArena, tr("Add arena"), "ArenaBtn");
    ActorBtn = AddButton(treeBar, TShellIcon::siAddActor, tr("Add actor to arena"), "ActorBtn");
    connect(ArenaBtn, &QToolButton::clicked, this, &TCaseView::AddArena);
    connect(ActorBtn, &QToolButton::clicked, this, &TCaseView::AddActor);
    TagBtn = AddButton(treeBar, TShellIcon::siTag, tr("Tag item"), "TagBtn");
    connect(TagBtn, &QToolButton::clicked, this, &TCaseView::TagItem);
    DeleteBtn = AddButton(treeBar, TShellIcon::siDelete, tr("Delete item"), "DeleteBtn");
    InfoBtn = AddButton(treeBar, TShellIcon::siInfo, tr("Show quick analysis"), "InfoBtn");
    InfoBtn->setCheckable(true);
    connect(InfoBtn, &QToolButton::clicked, this, &TCaseView::ShowInfo);
    TreeTypeBtn->setEnabled(true);
    connect(TreeTypeBtn, &QToolButton::clicked, this, &TCaseView::SwitchTreeMode);
    connect(DeleteBtn, &QToolButton::clicked, this, &TCaseView::DeleteItem);

    CaseTree = new TCaseTree(upper);
    connect(CaseTree, &QTreeWidget::currentItemChanged, this, &TCaseView::NodeSelected);
    connect(CaseTree, &TCaseTree::RenameRequested, this, &TCaseView::RenameNode);
    connect(CaseTree, &TCaseTree::FactorDropped, this, &TCaseView::DropFactor);
    CaseTree->viewport()->installEventFilter(this);
    CaseTree->viewport()->setMouseTracking(true);
    CaseTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CaseTree, &QWidget::customContextMenuRequested, this, &TCaseView::TreeContextMenu);

    CommentEditor = new QTextEdit(upper);
    CommentEditor->setObjectName(QStringLiteral("commentBox"));
    CommentEditor->setReadOnly(true);
    CommentEditor->setAcceptRichText(false);
    CommentEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* commentBar = VerticalBar(upper, "commentBar");
    CommentBtn = AddButton(commentBar, TShellIcon::siEditComment, tr("Edit comment"), "CommentBtn");
    CommentBtn->setCheckable(true);
    SaveEditBtn = AddButton(commentBar, TShellIcon::siAccept, tr("Accept changes"), "SaveEditBtn");
    CancelEditBtn =
        AddButton(commentBar, TShellIcon::siCancel, tr("Cancel editing"), "CancelEditBtn");
    connect(CommentBtn, &QToolButton::clicked, this, &TCaseView::StartCommentEdit);
    connect(SaveEditBtn, &QToolButton::clicked, this, &TCaseView::AcceptCommentEdit);
    connect(CancelEditBtn, &QToolButton::clicked, this, &TCaseView::CancelCommentEdit);

    auto* treeAndComment = Splitter(Qt::Horizontal, upper, "treeAndComment");
    treeAndComment->addWidget(CaseTree);
    treeAndComment->addWidget(CommentEditor);
    treeAndComment->setStretchFactor(0, 1);
    treeAndComment->setStretchFactor(1, 1);
    treeAndComment->setSizes({kStartWidth - kCommentWidth - 50, kCommentWidth});

    auto* layout = new QHBoxLayout(upper);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(treeBar);
    layout->addWidget(treeAndComment, 1);
    layout->addWidget(commentBar);
    return upper;
}

QWidget* TCaseView::CreateLowerHalf() {
    auto* lower = new QWidget(this);
    // The diagram commands come with diagram editing; the bar shows what there will be.
    auto* diagramBar = VerticalBar(lower, "diagramBar");
    AddButton(diagramBar, TShellIcon::siCursor, tr("Select and move"), "CursorBtn");
    AddButton(diagramBar, TShellIcon::siLink, tr("Draw links"), "LinkBtn");
    AddButton(diagramBar, TShellIcon::siAddFactor, tr("Add factor"), "FiPBtn");
    AddButton(diagramBar, TShellIcon::siAddAttribute, tr("Add attribute"), "AttributeBtn");
    AddButton(diagramBar, TShellIcon::siAddAction, tr("Add action"), "ActionBtn");
    AddButton(diagramBar, TShellIcon::siGoal, tr("Define goal"), "GoalBtn");
    AddButton(diagramBar, TShellIcon::siProspect, tr("Define prospect"), "ProspectBtn");
    AddButton(diagramBar, TShellIcon::siClearGoals, tr("Erase goals and prospects"), "ClearGPBtn");
    AddButton(diagramBar, TShellIcon::siSelectTag, tr("Tag selected factors"), "SelTagBtn");
    AddButton(diagramBar, TShellIcon::siCut, tr("Cut"), "CutBtn");
    AddButton(diagramBar, TShellIcon::siCopy, tr("Copy"), "CopyBtn");
    AddButton(diagramBar, TShellIcon::siPaste, tr("Paste"), "PasteBtn");
    LayoutBtn = AddButton(diagramBar, TShellIcon::siLayout, tr("Automatic layout"), "LayoutBtn");
    connect(LayoutBtn, &QToolButton::clicked, this, &TCaseView::OpenLayout);

    Diagram = new TDiagramView;
    Diagram->setFocusPolicy(Qt::ClickFocus);
    Diagram->installEventFilter(this);
    Editor = new TDiagramEditor(*this, *Diagram);
    Editor->AttachButtons(*diagramBar);
    DiagramBar = diagramBar;
    DiagramBar->installEventFilter(this);
    connect(Editor, &TDiagramEditor::SelectionChanged, this, [this] {
        UpdateCommentTarget();
        UpdateCommandStates();
    });
    Scroller = new QScrollArea(lower);
    Scroller->setObjectName(QStringLiteral("diagramScroller"));
    Scroller->setWidget(Diagram);
    Scroller->setBackgroundRole(QPalette::Dark);

    auto* report = new QWidget(lower);
    Html = new THtmlView(report);
    auto* reportBar = VerticalBar(report, "reportBar");
    QToolButton* groups =
        AddButton(reportBar, TShellIcon::siDefineGroups, tr("Define groups"), "TagSelectBtn");
    QToolButton* configure = AddButton(reportBar, TShellIcon::siConfigureAnalysis,
                                       tr("Configure analysis"), "SetAnalysisBtn");
    QToolButton* analyze =
        AddButton(reportBar, TShellIcon::siAnalyze, tr("Perform analysis"), "AnalyzeBtn");
    QToolButton* save =
        AddButton(reportBar, TShellIcon::siSaveReport, tr("Save report to file"), "SaveBtn");
    QToolButton* print = AddButton(reportBar, TShellIcon::siPrint, tr("Print report"), "PrintBtn");
    QToolButton* browser = AddButton(reportBar, TShellIcon::siBrowser,
                                     tr("View report in the system browser"), "ExplorerBtn");
    // Shown only while a computation runs (an analysis, a round of the simulation).
    QToolButton* cancel =
        AddButton(reportBar, TShellIcon::siCancelAnalysis, tr("Cancel analysis"), "Cancelbtn");
    cancel->setEnabled(true);
    connect(cancel, &QToolButton::clicked, this, [this] { Context.AnalysisCancelled = true; });
    CancelAction = reportBar->actions().constLast();
    CancelAction->setVisible(false);
    for (QToolButton* button : {groups, configure, analyze, save, print, browser}) {
        button->setEnabled(true);
    }
    connect(groups, &QToolButton::clicked, this, &TCaseView::ToggleGrouping);
    connect(configure, &QToolButton::clicked, this, &TCaseView::ToggleAnalysisDialog);
    connect(analyze, &QToolButton::clicked, this, &TCaseView::Analyze);
    connect(save, &QToolButton::clicked, this, &TCaseView::SaveReport);
    connect(print, &QToolButton::clicked, this, &TCaseView::PrintReport);
    connect(browser, &QToolButton::clicked, this, &TCaseView::OpenReportInBrowser);
    auto* reportLayout = new QHBoxLayout(report);
    reportLayout->setContentsMargins(0, 0, 0, 0);
    reportLayout->setSpacing(0);
    reportLayout->addWidget(Html, 1);
    reportLayout->addWidget(reportBar);

    auto* diagramAndReport = Splitter(Qt::Horizontal, lower, "diagramAndReport");
    diagramAndReport->addWidget(Scroller);
    diagramAndReport->addWidget(report);
    // A larger window gives the document a third of what it gains, the diagram the rest.
    diagramAndReport->setStretchFactor(0, 2);
    diagramAndReport->setStretchFactor(1, 1);
    diagramAndReport->setSizes({kStartWidth - kReportWidth - 25, kReportWidth});

    auto* layout = new QHBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(diagramBar);
    layout->addWidget(diagramAndReport, 1);
    return lower;
}

void TCaseView::UpdateCaption() {
    // A downloaded copy says so until it is saved into a folder of the user's own.
    const bool copy = DownloadedCopy && CaseModel->Folder.empty();
    // "[*]" is where the caption marks unsaved changes.
    setWindowTitle(ToQString(CaseModel->Name) + (copy ? tr(" (downloaded copy)") : QString()) +
                   QStringLiteral("[*]"));
    setWindowModified(CaseModel->Modified);
}

// --- Opening and saving ---

TReadOutcome TCaseView::Open(const QString& folder) {
    const TReadOutcome read = TCaseFiles::Read(*CaseModel, folder);
    if (Catalog != nullptr) {
        Catalog->ApplySelectionLines(CaseModel->AnalysisLines);
    }
    if (AnalysisWindow) {
        AnalysisWindow->Refresh();
    }
    Undo->clear();
    Diagram->SetAreaSize(CaseModel->MaxWidth, CaseModel->MaxHeight);
    UpdateCaption();
    BuildTree();
    // The document takes longer to lay out than the rest of the window: it follows once the tree
    // and the diagram show.
    const QString document = WithTrailingSlash(folder) + QString::fromLatin1(kCaseDocumentName);
    QTimer::singleShot(0, this, [this, document] {
        if (Html->source().isEmpty()) {
            ShowDocument(document);
        }
    });
    return read;
}

bool TCaseView::OpenCopy(const QString& folder) {
    const bool read = Open(folder) == TReadOutcome::roRead;
    CaseModel->Folder.clear();
    DownloadedCopy = true;
    UpdateCaption();
    return read;
}

bool TCaseView::OpenRecovered(const TRecovery::TFound& found) {
    const bool read = Open(found.Slot) == TReadOutcome::roRead;
    // A case that did not read to its end never goes over its document.
    CaseModel->Folder = read ? found.Folder.toStdString() : std::string();
    Recovery.Adopt(found.Slot);
    AutosavedIndex = Undo->index();
    Undo->resetClean();
    CaseModel->Modified = true;
    setWindowModified(true);
    UpdateCaption();
    return read;
}

void TCaseView::Autosave() {
    if (!CaseModel->Modified || ComputationRunning || Undo->index() == AutosavedIndex) {
        return;
    }
    QString reason;
    if (Recovery.Write(*CaseModel, reason)) {
        AutosavedIndex = Undo->index();
    } else {
        SetStatusText(tr("The recovery copy could not be written: %1").arg(reason));
    }
}

void TCaseView::DiscardRecovery() {
    Recovery.Remove();
    AutosavedIndex = -1;
}

bool TCaseView::Save() {
    FinishCommentEdit();
    if (CaseModel->Folder.empty()) {
        return SaveAs();
    }
    StoreAnalysisSelection();
    if (!TCaseFiles::Write(*CaseModel, ToQString(CaseModel->Folder))) {
        return false;
    }
    Undo->setClean();
    UpdateCaption();
    DiscardRecovery();
    ShowDocument(TCaseFiles::DocumentPath(*CaseModel));
    return true;
}

bool TCaseView::SaveAs() {
    FinishCommentEdit();
    const QString folder = ChooseFolder ? ChooseFolder() : QString();
    if (folder.isEmpty()) {
        return false;
    }
    const bool otherFolder = WithTrailingSlash(folder) != ToQString(CaseModel->Folder);
    if (otherFolder && FolderHoldsCase(folder)) {
        QMessageBox question(QMessageBox::Warning, tr("KAVO warning"),
                             tr("The folder \"%1\" already holds a case. Replace it?").arg(folder),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::No);
        if (question.exec() != QMessageBox::Yes) {
            return false;
        }
    }
    StoreAnalysisSelection();
    if (!TCaseFiles::Write(*CaseModel, folder)) {
        return false;
    }
    Undo->setClean();
    DiscardRecovery();
    UpdateCaption();
    ShowDocument(TCaseFiles::DocumentPath(*CaseModel));
    return true;
}

void TCaseView::ChangeOptions(const TCaseOptions& options) {
    FinishCommentEdit();
    if (!CanEdit()) {
        return;
    }
    TEdit edit;
    kavo::ChangeOptions(edit, *CaseModel, options);
    Perform(std::move(edit));
}

// --- The tree ---

void TCaseView::BuildTree() {
    FinishCommentEdit();
    CaseTree->Build(*CaseModel, CaseTree->Mode());
    NodeSelected();
}

void TCaseView::SwitchTreeMode() {
    FinishCommentEdit();
    CaseTree->setCurrentItem(nullptr);
    const bool toDictionary = CaseTree->Mode() == TTreeMode::tmArenas;
    TreeTypeBtn->setToolTip(toDictionary ? tr("Switch to arenas and actors view")
                                         : tr("Switch to dictionary view"));
    CaseTree->Build(*CaseModel, toDictionary ? TTreeMode::tmDictionary : TTreeMode::tmArenas);
    NodeSelected();
}

void TCaseView::NodeSelected() {
    FinishCommentEdit();
    SelectFromNode(CaseTree->SelectedNode());
}

void TCaseView::SelectFromNode(QTreeWidgetItem* node) {
    const bool arenasMode = CaseTree->Mode() == TTreeMode::tmArenas;
    const TNodeKind kind = node != nullptr ? TCaseTree::KindOf(node) : TNodeKind::nkCase;
    const bool belowRoot = node != nullptr && node->parent() != nullptr;
    ArenaOfSelection = nullptr;
    AiAOfSelection = nullptr;
    bool editable = false;
    if (arenasMode && belowRoot) {
        QTreeWidgetItem* arenaNode = kind == TNodeKind::nkArena ? node : node->parent();
        ArenaOfSelection = TCaseTree::ObjectAs<TArena>(arenaNode);
        if (kind == TNodeKind::nkAiA) {
            AiAOfSelection = TCaseTree::ObjectAs<TAiA>(node);
        }
        editable = kind != TNodeKind::nkArena;
    }
    DeleteBtn->setEnabled(belowRoot && kind != TNodeKind::nkAnalystView);
    TagBtn->setEnabled(DeleteBtn->isEnabled());
    Diagram->Show(CurrentPerception(), editable);
    UpdateCommentTarget();
    UpdateCommandStates();
}

void TCaseView::UpdateCommandStates() {
    const QTreeWidgetItem* node = CaseTree->SelectedNode();
    const bool belowRoot = node != nullptr && node->parent() != nullptr;
    const bool arenasMode = CaseTree->Mode() == TTreeMode::tmArenas;
    const bool editable = Diagram->DiagramEnabled() && CurrentPerception() != nullptr;
    States = {};
    States.DeleteConcept = DeleteBtn->isEnabled();
    States.TagConcept = TagBtn->isEnabled() || (editable && Editor->States().TagSelected);
    // A single box selected in the diagram can be changed as well.
    States.RenameConcept = DeleteBtn->isEnabled() || (node != nullptr && !belowRoot) ||
                           (editable && Editor->States().DefineGoal);
    const bool inRound = ArenaOfSelection != nullptr && ArenaOfSelection->Name.starts_with('*');
    if (inRound && AiAOfSelection != nullptr) {
        States.HigherPriority = AiAOfSelection->Priority > 1;
        States.LowerPriority =
            AiAOfSelection->Priority < static_cast<int>(ArenaOfSelection->Actors.size());
    }
    States.NextRound = inRound;
    States.LookForCycles = editable;
    States.MergeIntoAnalystView = editable;
    States.SystemDiagram = ArenaOfSelection != nullptr;
    // The pane explains an editable diagram only; it comes back with one while InfoBtn is down.
    InfoBtn->setEnabled(editable);
    LayoutBtn->setEnabled(editable);
    Editor->UpdateButtons(editable);
    ArenaBtn->setEnabled(arenasMode);
    ActorBtn->setEnabled(arenasMode && belowRoot);
    FollowLayout();
    HoveredPerception = nullptr;
    if (Info && !editable) {
        Info->hide();
    } else if (Info && InfoBtn->isChecked()) {
        Info->ShowBeside(*window());
    }
    const TPerception* perception = CurrentPerception();
    States.SelectNextCycle =
        editable && perception->ResultsValid[TPerception::Inferred] && !perception->Cycles.empty();
    emit CommandStatesChanged();
}

TPerception* TCaseView::CurrentPerception() const {
    if (AiAOfSelection != nullptr) {
        return AiAOfSelection->Perception.get();
    }
    return ArenaOfSelection != nullptr ? ArenaOfSelection->AnalystView.get() : nullptr;
}

void TCaseView::RenameNode(TNodeKind kind, void* object, const QString& typed) {
    const std::string text = Trim(typed.toStdString());
    // An empty text leaves the old name, without a word.
    if (text.empty() || !CanEdit()) {
        return;
    }
    TCase& c = *CaseModel;
    TEdit edit;
    switch (kind) {
        case TNodeKind::nkCase:
            RenameCase(edit, c, text);
            break;
        case TNodeKind::nkArena:
            RenameArena(edit, c, *static_cast<TArena*>(object), text);
            break;
        case TNodeKind::nkAiA:
        case TNodeKind::nkActor: {
            TActor* actor = kind == TNodeKind::nkAiA ? static_cast<TAiA*>(object)->Actor
                                                     : static_cast<TActor*>(object);
            if (text != actor->Name) {
                RenameActor(edit, c, *actor, text, actor->ShortName);
            }
            break;
        }
        case TNodeKind::nkFactor:
            RenameFactor(edit, c, *static_cast<TFactor*>(object), text);
            break;
        case TNodeKind::nkAttribute:
        case TNodeKind::nkAction: {
            // The tree shows an owned factor without its actor's short name, which stays.
            auto* factor = static_cast<TFactor*>(object);
            RenameFactor(edit, c, *factor, text + " [" + factor->Owner->ShortName + "]");
            break;
        }
        case TNodeKind::nkAnalystView:
            return;
    }
    Perform(std::move(edit));
}

void TCaseView::RenameConcept() {
    FinishCommentEdit();
    if (Diagram->hasFocus()) {
        const TPerception* perception = CurrentPerception();
        if (perception != nullptr && perception->Selection.size() > 1) {
            Context.Messages.ShowInformation("Rename concepts one by one");
        } else if (perception != nullptr && perception->Selection.size() == 1 &&
                   Diagram->DiagramEnabled()) {
            if (TFiP* const* fip = std::get_if<TFiP*>(&perception->Selection.front())) {
                ChangeFactorByDialog(*(*fip)->Factor, *fip);
            }
        }
        return;
    }
    QTreeWidgetItem* node = CaseTree->SelectedNode();
    const TNodeKind kind = node != nullptr ? TCaseTree::KindOf(node) : TNodeKind::nkCase;
    if (kind == TNodeKind::nkAiA || kind == TNodeKind::nkActor) {
        RenameActorByDialog(kind == TNodeKind::nkAiA ? *TCaseTree::ObjectAs<TAiA>(node)->Actor
                                                     : *TCaseTree::ObjectAs<TActor>(node));
    } else if (kind == TNodeKind::nkFactor || kind == TNodeKind::nkAttribute ||
               kind == TNodeKind::nkAction) {
        ChangeFactorByDialog(*TCaseTree::ObjectAs<TFactor>(node));
    } else {
        CaseTree->EditSelected();
    }
}

void TCaseView::RenameActorByDialog(TActor& actor) {
    if (RenameActorDialog == nullptr) {
        RenameActorDialog = new TRenameActorDlg(this);
    }
    if (!RenameActorDialog->Ask(actor) || !CanEdit()) {
        return;
    }
    TEdit edit;
    RenameActor(edit, *CaseModel, actor, RenameActorDialog->Name().toStdString(),
                RenameActorDialog->ShortName().toStdString());
    Perform(std::move(edit));
}

void TCaseView::ChangeFactorByDialog(TFactor& factor, TFiP* box) {
    if (ChangeFactorDialog == nullptr) {
        ChangeFactorDialog = new TRenameAllDlg(this);
    }
    TPerception* perception = box != nullptr ? CurrentPerception() : nullptr;
    std::optional<TOperator> aggregation;
    if (perception != nullptr) {
        aggregation = box->Operator;
        // Right of the diagram's tool bar, at the top of the window's lower half.
        ChangeFactorDialog->move(DiagramBar->mapToGlobal(QPoint(DiagramBar->width(), 0)));
    }
    if (!ChangeFactorDialog->Ask(*CaseModel, factor, aggregation) || !CanEdit()) {
        return;
    }
    TEdit edit;
    if (ChangeFactor(edit, *CaseModel, factor, ChangeFactorDialog->Name().toStdString(),
                     ChangeFactorDialog->Owner(), ChangeFactorDialog->IsAction()) &&
        perception != nullptr) {
        SetOperator(edit, *perception, *box, ChangeFactorDialog->Operator());
    }
    Perform(std::move(edit));
}

void TCaseView::DropFactor(TFactor* factor, TNodeKind targetKind, void* target) {
    FinishCommentEdit();
    TEdit edit;
    if (targetKind == TNodeKind::nkActor) {
        if (!CanEdit()) {
            return;
        }
        ChangeFactor(edit, *CaseModel, *factor, BareName(factor->Name),
                     static_cast<TActor*>(target), factor->IsAction);
        Perform(std::move(edit));
        CaseTree->SelectNode(factor->IsAction ? TNodeKind::nkAction : TNodeKind::nkAttribute,
                             factor);
        return;
    }
    if (SimilarFactors == nullptr) {
        SimilarFactors = new TSimFactorDlg(this);
    }
    auto* into = static_cast<TFactor*>(target);
    if (!SimilarFactors->Ask(*factor, *into) || !CanEdit()) {
        return;
    }
    MergeFactors(edit, *CaseModel, *factor, *into, SimilarFactors->Invert());
    Perform(std::move(edit));
    CaseTree->SelectNode(targetKind, into);
}

bool TCaseView::ConfirmDelete(const QString& question) {
    return TQuestionBox::Ask(this, QMessageBox::Warning, tr("KAVO warning"), question,
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) == QMessageBox::Yes;
}

void TCaseView::DeleteItem() {
    FinishCommentEdit();
    QTreeWidgetItem* node = CaseTree->SelectedNode();
    const TNodeKind kind = node != nullptr ? TCaseTree::KindOf(node) : TNodeKind::nkCase;
    if (node == nullptr || node->parent() == nullptr || kind == TNodeKind::nkAnalystView ||
        !CanEdit()) {
        QApplication::beep();
        return;
    }
    const QString name = QLatin1Char('"') + node->text(0) + QLatin1Char('"');
    TCase& c = *CaseModel;
    TEdit edit;
    switch (kind) {
        case TNodeKind::nkAiA:
            if (!ConfirmDelete(tr("Really delete %1 from arena?").arg(name))) {
                return;
            }
            DeleteActorFromArena(edit, *ArenaOfSelection, TCaseTree::ObjectAs<TAiA>(node));
            break;
        case TNodeKind::nkArena:
            if (!ConfirmDelete(tr("Really delete arena %1 from case?").arg(name))) {
                return;
            }
            DeleteArena(edit, c, TCaseTree::ObjectAs<TArena>(node));
            break;
        case TNodeKind::nkFactor:
            if (!ConfirmDelete(tr("Really delete %1 from case?").arg(name))) {
                return;
            }
            DeleteFactor(edit, c, TCaseTree::ObjectAs<TFactor>(node));
            break;
        case TNodeKind::nkActor: {
            const auto* actor = TCaseTree::ObjectAs<TActor>(node);
            // The beep warns that the actor's attributes and actions go along.
            if (!actor->Attributes.empty() || !actor->Actions.empty()) {
                QApplication::beep();
            }
            if (!ConfirmDelete(tr("Really delete %1 from case?").arg(name))) {
                return;
            }
            DeleteActor(edit, c, TCaseTree::ObjectAs<TActor>(node));
            break;
        }
        case TNodeKind::nkAttribute:
        case TNodeKind::nkAction:
            if (!ConfirmDelete(tr("Really delete %1 from actor?").arg(name))) {
                return;
            }
            DeleteFactor(edit, c, TCaseTree::ObjectAs<TFactor>(node));
            break;
        case TNodeKind::nkCase:
        case TNodeKind::nkAnalystView:
            return;
    }
    Perform(std::move(edit));
}

void TCaseView::TagItem() {
    FinishCommentEdit();
    const QTreeWidgetItem* node = CaseTree->SelectedNode();
    if (!TagBtn->isEnabled() || node == nullptr) {
        return;
    }
    TConcept* target = nullptr;
    switch (TCaseTree::KindOf(node)) {
        case TNodeKind::nkAiA:
            target = TCaseTree::ObjectAs<TAiA>(node)->Actor;
            break;
        case TNodeKind::nkArena:
            target = TCaseTree::ObjectAs<TArena>(node);
            break;
        case TNodeKind::nkActor:
            target = TCaseTree::ObjectAs<TActor>(node);
            break;
        case TNodeKind::nkFactor:
        case TNodeKind::nkAttribute:
        case TNodeKind::nkAction:
            target = TCaseTree::ObjectAs<TFactor>(node);
            break;
        case TNodeKind::nkCase:
        case TNodeKind::nkAnalystView:
            return;
    }
    OpenTagDialog({target});
}

void TCaseView::TagSelectedFactors() {
    FinishCommentEdit();
    const TPerception* perception = CurrentPerception();
    if (perception == nullptr || !Diagram->DiagramEnabled()) {
        return;
    }
    std::vector<TConcept*> targets;
    for (const TPerceptionItem& item : perception->Selection) {
        if (const auto* fip = std::get_if<TFiP*>(&item);
            fip != nullptr &&
            std::find(targets.begin(), targets.end(), (*fip)->Factor) == targets.end()) {
            targets.push_back((*fip)->Factor);
        }
    }
    OpenTagDialog(std::move(targets));
}

void TCaseView::TagConcept() {
    if (TagBtn->isEnabled() && (CaseTree->hasFocus() || !Editor->States().TagSelected)) {
        TagItem();
    } else if (Diagram->DiagramEnabled()) {
        TagSelectedFactors();
    }
}

void TCaseView::OpenTagDialog(std::vector<TConcept*> targets) {
    if (TagDialog == nullptr || targets.empty() || !CanEdit()) {
        return;
    }
    // At the top of the window, just right of the tree.
    const QPoint corner(CaseTree->mapTo(this, QPoint(CaseTree->width(), 0)).x(), 0);
    TEdit edit;
    TagDialog->Ask(edit, *CaseModel, std::move(targets), mapToGlobal(corner));
    Perform(std::move(edit));
}

void TCaseView::ChangePriority(int step) {
    FinishCommentEdit();
    if (ArenaOfSelection == nullptr || AiAOfSelection == nullptr || !CanEdit()) {
        return;
    }
    TEdit edit;
    MovePriority(edit, *ArenaOfSelection, *AiAOfSelection, step);
    Perform(std::move(edit));
}

// --- The simulation ---

void TCaseView::InitializeRound0() {
    FinishCommentEdit();
    if (!CanEdit() ||
        (HasSimulationArenas(*CaseModel) && !ConfirmDelete(tr("Delete all simulation rounds?")))) {
        return;
    }
    TEdit edit;
    const TArena* round = kavo::InitializeRound0(edit, *CaseModel);
    if (Perform(std::move(edit))) {
        CaseTree->SelectNode(TNodeKind::nkAnalystView, round);
    }
}

void TCaseView::NextRound() {
    FinishCommentEdit();
    TArena* previous = ArenaOfSelection;
    if (!CanEdit() || !TRoundExecution(*CaseModel).CanStartFrom(previous)) {
        return;
    }
    const int n = TRoundExecution::NextNumber(*previous);
    if (FindRound(*CaseModel, n) != nullptr &&
        !ConfirmDelete(tr("Delete round %1 and later?").arg(n))) {
        return;
    }
    TEdit edit;
    SetComputing(true);
    const std::optional<TRoundReport> report = kavo::NextRound(edit, *CaseModel, previous);
    SetComputing(false);
    Context.AnalysisCancelled = false;
    if (report && !report->Cancelled && Perform(std::move(edit))) {
        CaseTree->SelectNode(TNodeKind::nkAnalystView, report->Round);
    }
}

TNewArenaDlg& TCaseView::ArenaDialog() {
    if (NewArena == nullptr) {
        NewArena = new TNewArenaDlg(this);
    }
    return *NewArena;
}

TNewActorDlg& TCaseView::ActorDialog() {
    if (NewActor == nullptr) {
        NewActor = new TNewActorDlg(this);
    }
    return *NewActor;
}

void TCaseView::AddArena() {
    FinishCommentEdit();
    ArenaDialog().move(ArenaBtn->mapToGlobal(QPoint(ArenaBtn->width(), 0)));
    if (!NewArena->Ask() || !CanEdit()) {
        return;
    }
    TEdit edit;
    TArena* arena = FindOrCreateArena(edit, *CaseModel, NewArena->Name().toStdString());
    Perform(std::move(edit));
    if (arena != nullptr) {
        CaseTree->SelectNode(TNodeKind::nkArena, arena);
    }
}

void TCaseView::AddActor() {
    FinishCommentEdit();
    TArena* arena = ArenaOfSelection;
    ActorDialog().move(ActorBtn->mapToGlobal(QPoint(ActorBtn->width(), 0)));
    if (arena == nullptr || !NewActor->Ask(*CaseModel, tr("Name of (new) actor"), QString()) ||
        !CanEdit()) {
        return;
    }
    TEdit edit;
    TAiA* record = AddActorToArena(edit, *CaseModel, *arena, NewActor->Name().toStdString(),
                                   NewActor->ShortName().toStdString());
    Perform(std::move(edit));
    if (record != nullptr) {
        CaseTree->SelectNode(TNodeKind::nkAiA, record);
    }
}

// --- The comment box ---

void TCaseView::UpdateCommentTarget() {
    Target = nullptr;
    TargetConcept = nullptr;
    const TPerception* perception = CurrentPerception();
    if (Diagram->hasFocus() && perception != nullptr && !perception->Selection.empty()) {
        Target = std::visit([](auto* item) -> TCommentedObject* { return item; },
                            perception->Selection.back());
    } else if (AiAOfSelection != nullptr) {
        Target = AiAOfSelection;
    } else if (ArenaOfSelection != nullptr) {
        TargetConcept = ArenaOfSelection;
    } else if (const QTreeWidgetItem* node = CaseTree->SelectedNode()) {
        const TNodeKind kind = TCaseTree::KindOf(node);
        if (kind == TNodeKind::nkCase) {
            TargetConcept = CaseModel.get();
        } else if (kind == TNodeKind::nkActor) {
            TargetConcept = TCaseTree::ObjectAs<TActor>(node);
        } else if (kind != TNodeKind::nkAnalystView && kind != TNodeKind::nkAiA) {
            TargetConcept = TCaseTree::ObjectAs<TFactor>(node);
        }
    }
    if (TargetConcept != nullptr) {
        Target = TargetConcept;
    }
    CommentOriginal = Target != nullptr ? JoinedComment(*Target) : QString();
    CommentEditor->setPlainText(CommentOriginal);
    CommentBtn->setEnabled(Target != nullptr);
}

QString TCaseView::CommentDescription() const {
    const TPerception* perception = CurrentPerception();
    if (perception != nullptr && !perception->Selection.empty() && Diagram->hasFocus()) {
        const TPerceptionItem item = perception->Selection.back();
        const QString in = QStringLiteral(" in ") + PerceptionDescription(*perception);
        if (const auto* fip = std::get_if<TFiP*>(&item)) {
            return QStringLiteral("factor ") + ToQString((*fip)->Factor->Name) + in;
        }
        const TLink* link = std::get<TLink*>(item);
        return QStringLiteral("link ") + ToQString(link->FromFiP->Factor->Name) +
               QStringLiteral(" -> ") + ToQString(link->ToFiP->Factor->Name) + in;
    }
    if (Target == AiAOfSelection && AiAOfSelection != nullptr) {
        return QStringLiteral("actor ") + ToQString(AiAOfSelection->Actor->Name) +
               QStringLiteral(" in arena ") + ToQString(ArenaOfSelection->Name);
    }
    const TConcept* named = TargetConcept;
    if (named == nullptr) {
        return {};
    }
    const QString kind = named->Kind == TConceptKind::ckCase    ? QStringLiteral("case")
                         : named->Kind == TConceptKind::ckArena ? QStringLiteral("arena")
                         : named->Kind == TConceptKind::ckActor ? QStringLiteral("actor")
                                                                : QStringLiteral("factor");
    return kind + QLatin1Char(' ') + ToQString(named->Name);
}

void TCaseView::SetStatusText(const QString& text) {
    Status->SetStatusText(text);
}

void TCaseView::StartCommentEdit() {
    if (Target == nullptr || Editing) {
        CommentBtn->setChecked(Editing);
        return;
    }
    Editing = true;
    CommentBtn->setChecked(true);
    CommentBtn->setEnabled(false);
    SaveEditBtn->setEnabled(true);
    CancelEditBtn->setEnabled(true);
    SetStatusText(tr("Editing comment for ") + CommentDescription());
    Status->SetEditing(true);
    CommentEditor->setStyleSheet(kEditingStyle);
    CommentEditor->setReadOnly(false);
    CommentEditor->moveCursor(QTextCursor::Start);
    CommentEditor->setFocus();
}

void TCaseView::AcceptCommentEdit() {
    if (!Editing) {
        return;
    }
    TEdit edit;
    SetComment(edit, *Target, CommentEditor->toPlainText().toStdString());
    CommentOriginal = JoinedComment(*Target);
    CancelCommentEdit();
    Perform(std::move(edit));
}

void TCaseView::CancelCommentEdit() {
    if (!Editing) {
        return;
    }
    Editing = false;
    CommentEditor->setPlainText(CommentOriginal);
    CommentEditor->setReadOnly(true);
    CommentEditor->setStyleSheet(QString());
    CommentBtn->setChecked(false);
    CommentBtn->setEnabled(Target != nullptr);
    SaveEditBtn->setEnabled(false);
    CancelEditBtn->setEnabled(false);
    Status->SetEditing(false);
    SetStatusText(QString());
}

void TCaseView::FinishCommentEdit() {
    if (!Editing) {
        return;
    }
    if (CommentEditor->toPlainText().trimmed() == CommentOriginal) {
        CancelCommentEdit();
        return;
    }
    if (TQuestionBox::Ask(this, QMessageBox::Question, ToQString(CaseModel->Name),
                          tr("Save comment?"), QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::Yes) == QMessageBox::Yes) {
        AcceptCommentEdit();
    } else {
        CancelCommentEdit();
    }
}

// --- Zoom, cycles ---

double TCaseView::Zoom() const {
    return Diagram->Zoom();
}

void TCaseView::StepZoom(int step) {
    Zoomer->Step(step);
}

void TCaseView::SetComputing(bool running) {
    // A long computation is when a crash would cost the most.
    if (running) {
        Autosave();
    }
    ComputationRunning = running;
    CancelAction->setVisible(running);
    emit CommandStatesChanged();
}

void TCaseView::LookForCycles() {
    FinishCommentEdit();
    TPerception* perception = CurrentPerception();
    if (perception == nullptr || !States.LookForCycles || ComputationRunning) {
        return;
    }
    if (!perception->ResultsValid[TPerception::Inferred]) {
        SetComputing(true);
        InferInfluences(*perception);
        SetComputing(false);
    }
    // The window may have changed its selection while the search let events through.
    if (perception != CurrentPerception()) {
        return;
    }
    States.SelectNextCycle =
        perception->ResultsValid[TPerception::Inferred] && !perception->Cycles.empty();
    emit CommandStatesChanged();
    SelectNextCycle();
}

void TCaseView::MergeIntoAnalystView() {
    FinishCommentEdit();
    TArena* arena = ArenaOfSelection;
    if (arena == nullptr || !States.MergeIntoAnalystView || !CanEdit()) {
        return;
    }
    if (!arena->AnalystView->FiPs.empty() &&
        !ConfirmDelete(tr("Overwrite current analyst view?"))) {
        return;
    }
    TEdit edit;
    kavo::MergeIntoAnalystView(edit, *arena);
    Perform(std::move(edit));
}

TPathViewer& TCaseView::PathList() {
    if (PathViewer == nullptr) {
        PathViewer = new TPathViewer(this);
    }
    return *PathViewer;
}

void TCaseView::ShowPerceptionState() {
    FinishCommentEdit();
    TPerception* perception = CurrentPerception();
    if (perception == nullptr || ComputationRunning) {
        return;
    }
    SetComputing(true);
    const std::vector<std::string> report = PerceptionStateReport(*perception);
    SetComputing(false);
    // The evaluation gave the factors the changes the diagram shows.
    Diagram->Refresh();
    QStringList lines;
    for (const std::string& line : report) {
        lines << ToQString(line);
    }
    PathList().ShowLines(lines);
}

void TCaseView::SelectNextCycle() {
    TPerception* perception = CurrentPerception();
    if (perception == nullptr || !States.SelectNextCycle) {
        return;
    }
    kavo::SelectNextCycle(*perception);
    Diagram->Refresh();
}

void TCaseView::ShowSystemDiagram() {
    FinishCommentEdit();
    if (ArenaOfSelection == nullptr || ComputationRunning) {
        return;
    }
    TSystemDiagramDlg dialog(*ArenaOfSelection, this);
    dialog.exec();
}

void TCaseView::TreeContextMenu(QPoint at) {
    QTreeWidgetItem* node = CaseTree->itemAt(at);
    if (node == nullptr || (TCaseTree::KindOf(node) != TNodeKind::nkAnalystView &&
                            TCaseTree::KindOf(node) != TNodeKind::nkAiA)) {
        return;
    }
    CaseTree->setCurrentItem(node);
    QMenu menu(this);
    QAction* sensitivity = menu.addAction(tr("Sensitivity of the best strategy..."));
    sensitivity->setEnabled(!ComputationRunning);
    connect(sensitivity, &QAction::triggered, this, &TCaseView::ShowSensitivity);
    menu.exec(CaseTree->viewport()->mapToGlobal(at));
}

void TCaseView::ShowSensitivity() {
    FinishCommentEdit();
    TPerception* perception = CurrentPerception();
    if (perception == nullptr || ComputationRunning) {
        return;
    }
    SetComputing(true);
    SetStatusText(tr("Searching the best strategy for every uncertain value"));
    const TSensitivity result = FindSensitivity(*perception);
    SetComputing(false);
    SetStatusText(QString());
    const bool cancelled = Context.AnalysisCancelled || !result.Complete;
    Context.AnalysisCancelled = false;
    // The window may have changed its selection while the search let events through.
    if (cancelled || perception != CurrentPerception()) {
        return;
    }
    TSensitivityWindow window(result, *perception, this);
    window.exec();
}

void TCaseView::ShowActorRelations() {
    FinishCommentEdit();
    if (ComputationRunning) {
        return;
    }
    TActorRelationDlg dialog(
        *CaseModel,
        [this](const TRelationRequest& request) {
            TEdit edit;
            SetRelationStrength(edit, *CaseModel, request.From, request.To, request.Type,
                                request.Strength);
            Perform(std::move(edit));
        },
        [this](TCommentedObject& item, const std::string& text) {
            TEdit edit;
            SetComment(edit, item, text);
            Perform(std::move(edit));
        },
        this);
    dialog.exec();
}

// --- The quick-analysis pane ---

void TCaseView::SetInfoPane(TInfoPane* pane) {
    Info = pane;
    if (Info) {
        connect(Info, &TInfoPane::Shown, this, &TCaseView::InfoShown);
    }
}

void TCaseView::ShowInfo(bool shown) {
    if (!Info) {
        return;
    }
    if (shown) {
        Info->ShowBeside(*window());
    } else {
        Info->hide();
    }
    InfoShown(Info->isVisible());
}

void TCaseView::InfoShown(bool visible) {
    // Hidden with the diagram disabled, the pane comes back with it; closed by the user, not.
    if (visible || Diagram->DiagramEnabled()) {
        InfoBtn->setChecked(visible);
    }
    InfoBtn->setToolTip(InfoBtn->isChecked() ? tr("Hide quick analysis")
                                             : tr("Show quick analysis"));
}

void TCaseView::ExplainDiagramPointer(int x, int y) {
    TPerception* perception = CurrentPerception();
    if (!Info || !Info->isVisible() || Info->Busy() || ComputationRunning ||
        perception == nullptr || !Diagram->DiagramEnabled()) {
        return;
    }
    // The first box and link in list order, as the hover name: what lies on top is for the press.
    const TFiP* fip = nullptr;
    for (const auto& item : perception->FiPs) {
        if (HitFiP(*item, x, y)) {
            fip = item.get();
            break;
        }
    }
    const TLink* link = nullptr;
    for (const auto& item : perception->Links) {
        if (HitLink(*item, x, y)) {
            link = item.get();
            break;
        }
    }
    SetComputing(true);
    Info->Explain(*perception, fip, fip != nullptr ? HitRangeCell(*fip, x, y) : kNoLevel, link);
    SetComputing(false);
}

void TCaseView::ExplainTreePointer(QPoint at) {
    TPerception* shown = CurrentPerception();
    if (!Info || !Info->isVisible() || Info->Busy() || ComputationRunning || shown == nullptr ||
        !Diagram->DiagramEnabled() || !Info->ConflictsBox()->isChecked()) {
        return;
    }
    QTreeWidgetItem* node = CaseTree->itemAt(at);
    TPerception* other = nullptr;
    if (node != nullptr && TCaseTree::KindOf(node) == TNodeKind::nkAiA) {
        other = TCaseTree::ObjectAs<TAiA>(node)->Perception.get();
    } else if (node != nullptr && TCaseTree::KindOf(node) == TNodeKind::nkAnalystView) {
        other = TCaseTree::ObjectAs<TArena>(node->parent())->AnalystView.get();
    }
    if (other == HoveredPerception) {
        return;
    }
    HoveredPerception = other;
    if (other != nullptr) {
        SetComputing(true);
        Info->ExplainConflicts(*shown, *other);
        SetComputing(false);
    }
}

// --- The automatic layout ---

void TCaseView::SetLayoutControl(TLayoutControl* layout) {
    Layout = layout;
    if (Layout) {
        connect(Layout, &TLayoutControl::Stepped, this, &TCaseView::LayoutStepped);
        connect(Layout, &TLayoutControl::StepDue, this, &TCaseView::LayoutStepDue);
    }
}

void TCaseView::OpenLayout() {
    FinishCommentEdit();
    TPerception* perception = CurrentPerception();
    if (Layout && perception != nullptr && Diagram->DiagramEnabled()) {
        Layout->Open(*CaseModel, perception);
    }
}

void TCaseView::StopLayout() {
    // A run going on would move the boxes again right after an undo.
    if (ShowsLayout()) {
        Layout->Stop();
    }
}

bool TCaseView::ShowsLayout() const {
    return Layout && Layout->TargetCase() == CaseModel.get();
}

void TCaseView::FollowLayout() {
    if (!ShowsLayout() || Layout->Target() == CurrentPerception()) {
        return;
    }
    bool exists = false;
    CaseModel->ForEachPerception(
        [&](TPerception& perception) { exists = exists || &perception == Layout->Target(); });
    if (Layout->Target() != nullptr && !exists) {
        Layout->Detach();
    } else {
        Layout->Retarget(Diagram->DiagramEnabled() ? CurrentPerception() : nullptr);
    }
}

void TCaseView::LayoutStepped(TPerception* perception) {
    if (ShowsLayout() && perception == CurrentPerception()) {
        Diagram->Refresh();
    }
}

void TCaseView::LayoutStepDue(TPerception* perception) {
    // While a computation runs the model stands still; the animation waits.
    if (!ShowsLayout() || perception != CurrentPerception() || ComputationRunning) {
        return;
    }
    TEdit edit;
    Layout->StepInto(edit);
    Perform(std::move(edit));
}

void TCaseView::StoreAnalysisSelection() {
    if (Catalog != nullptr) {
        CaseModel->AnalysisLines = Catalog->SelectionLines();
    }
}

// --- The HTML view ---

void TCaseView::ShowDocument(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        Html->clear();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (Html->source() == source) {
        // A new report in the place of the one shown.
        Html->reload();
    } else {
        Html->setSource(source);
    }
}

// --- Analysis ---

void TCaseView::Analyze() {
    FinishCommentEdit();
    if (ComputationRunning || Catalog == nullptr) {
        QApplication::beep();
        return;
    }
    TCase& shown = *CaseModel;
    if (shown.Folder.empty()) {
        Context.Messages.ShowWarning("Case must be saved before analysis");
        return;
    }
    TGroupingSettings grouping = TGroupingSettings::Of(shown);
    grouping.SelectedArena = ArenaOfSelection;
    grouping.SelectedAiA = AiAOfSelection;
    const std::string path = shown.Folder + "Analysis.htm";
    auto* overview = dynamic_cast<TRoundsOverview*>(Catalog->Find("Overview of rounds"));
    if (overview != nullptr) {
        overview->PlotRequested = false;
    }
    Context.AnalysisCancelled = false;
    // The cancel button shows while the analyses run.
    SetComputing(true);
    // The busy pointer, but one that still shows that "Cancel analysis" can be pressed.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    {
        TQtImageWriter images(Context.Messages);
        TAnalysisRun run(shown, grouping, images, shown.Folder + "gif/", DependencyGraph);
        TAnalysisReport(*Catalog, run, LocalDateTime).Write(path);
    }
    QApplication::restoreOverrideCursor();
    if (Context.AnalysisCancelled) {
        SetStatusText({});
        Context.Messages.ShowWarning("Analysis cancelled -- results will be invalid");
        Context.AnalysisCancelled = false;
    }
    SetComputing(false);
    const QString report = ToQString(path);
    if (QFileInfo(report).isFile()) {
        SetStatusText(tr("Reading results into browser..."));
        ShowDocument(report);
        SetStatusText({});
    } else {
        Context.Messages.ShowWarning("No analysis results found");
    }
    if (overview != nullptr && overview->PlotRequested) {
        emit RoundsPlotRequested(this);
    }
}

// --- The grouping window ---

void TCaseView::SetGroupingDialog(TGroupingDlg* dialog) {
    Grouping = dialog;
}

void TCaseView::ToggleGrouping() {
    FinishCommentEdit();
    if (!Grouping) {
        return;
    }
    if (Grouping->isVisible() && Grouping->ShownCase() == CaseModel.get()) {
        Grouping->hide();
        return;
    }
    Grouping->ShowBeside(*this);
    AttachGrouping();
}

void TCaseView::AttachGrouping() {
    if (Grouping && Grouping->isVisible() && Grouping->ShownCase() != CaseModel.get()) {
        Grouping->SetCase(CaseModel.get(), [this](TEdit edit) { return Perform(std::move(edit)); });
    }
}

// --- The analysis window ---

void TCaseView::SetAnalysisDialog(TAnalysisDlg* dialog) {
    AnalysisWindow = dialog;
}

void TCaseView::ToggleAnalysisDialog() {
    FinishCommentEdit();
    if (!AnalysisWindow) {
        return;
    }
    if (AnalysisWindow->isVisible() && AnalysisWindow->ShownCase() == CaseModel.get()) {
        AnalysisWindow->hide();
        return;
    }
    AnalysisWindow->show();
    AnalysisWindow->raise();
    AttachAnalysisDialog();
}

void TCaseView::AttachAnalysisDialog() {
    if (AnalysisWindow && AnalysisWindow->isVisible() &&
        AnalysisWindow->ShownCase() != CaseModel.get()) {
        AnalysisWindow->SetCase(CaseModel.get(),
                                [this](TEdit edit) { return Perform(std::move(edit)); });
    }
}

void TCaseView::SaveReport() {
    const QUrl source = Html->source();
    const QString target =
        Html->document()->isEmpty()
            ? QString()
            : QFileDialog::getSaveFileName(this, tr("Save report to file"),
                                           QFileInfo(source.toLocalFile()).fileName(),
                                           tr("HTML documents (*.htm *.html)"));
    if (!Html->document()->isEmpty() && target.isEmpty()) {
        return;
    }
    bool saved = false;
    if (!target.isEmpty()) {
        QFile::remove(target);
        saved = source.isLocalFile() ? QFile::copy(source.toLocalFile(), target) : false;
        if (!saved) {
            QFile file(target);
            saved = file.open(QIODevice::WriteOnly) && file.write(Html->toHtml().toUtf8()) >= 0 &&
                    file.flush();
        }
    }
    if (!saved) {
        Context.Messages.ShowWarning("Could not save report - possibly empty?");
    }
}

void TCaseView::PrintReport() {
    if (Html->document()->isEmpty()) {
        Context.Messages.ShowWarning("Could not print report - possibly empty?");
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        // A large document shows in pieces; the printout is the whole of it.
        Html->ShowAll();
        Html->print(&printer);
    }
}

void TCaseView::OpenReportInBrowser() {
    const QUrl source = Html->source();
    if (source.isEmpty() || !QDesktopServices::openUrl(source)) {
        QApplication::beep();
    }
}

// --- Edits ---

bool TCaseView::CanEdit() {
    if (ComputationRunning) {
        QApplication::beep();
        return false;
    }
    return true;
}

bool TCaseView::Perform(TEdit edit) {
    if (edit.Empty()) {
        return false;
    }
    if (ComputationRunning) {
        edit.Undo();
        QApplication::beep();
        return false;
    }
    Undo->push(new TEditCommand(std::move(edit), [this](const TEdit& applied, bool undone) {
        EditApplied(applied, undone);
    }));
    return true;
}

void TCaseView::UndoStep() {
    FinishCommentEdit();
    StopLayout();
    if (Undo->canUndo() && CanEdit()) {
        Undo->undo();
    }
}

void TCaseView::RedoStep() {
    FinishCommentEdit();
    StopLayout();
    if (Undo->canRedo() && CanEdit()) {
        Undo->redo();
    }
}

void TCaseView::EditApplied(const TEdit& edit, bool undone) {
    const bool replayed = undone || Undo->index() < Undo->count();
    if (edit.TreeChanged) {
        UpdateCaption();
        RebuildTreeKeepingSelection();
    }
    TPerception* focus = edit.Focus;
    if (focus != nullptr && focus != CurrentPerception() && replayed) {
        // Show what the undo or redo changed.
        if (const TAiA* record = focus->AiAOwner()) {
            CaseTree->SelectNode(TNodeKind::nkAiA, record);
        } else if (const TArena* arena = focus->ArenaOwner()) {
            CaseTree->SelectNode(TNodeKind::nkAnalystView, arena);
        }
    }
    // Undoing the options may change the drawing area.
    Diagram->SetAreaSize(CaseModel->MaxWidth, CaseModel->MaxHeight);
    Diagram->Refresh();
    if (!Editing) {
        if (TargetShown()) {
            CommentOriginal = Target != nullptr ? JoinedComment(*Target) : QString();
            CommentEditor->setPlainText(CommentOriginal);
        } else {
            UpdateCommentTarget();
        }
    }
    if (Grouping && Grouping->ShownCase() == CaseModel.get()) {
        Grouping->RebuildSoon();
    }
    if (AnalysisWindow) {
        AnalysisWindow->Refresh();
    }
    UpdateCommandStates();
}

void TCaseView::RebuildTreeKeepingSelection() {
    const QTreeWidgetItem* node = CaseTree->SelectedNode();
    const TNodeKind kind = node != nullptr ? TCaseTree::KindOf(node) : TNodeKind::nkCase;
    void* object = node != nullptr ? TCaseTree::ObjectOf(node) : nullptr;
    const TArena* arena = kind == TNodeKind::nkAnalystView ? ArenaOfSelection : nullptr;
    CaseTree->Build(*CaseModel, CaseTree->Mode());
    if (!(kind == TNodeKind::nkAnalystView ? CaseTree->SelectNode(kind, arena)
                                           : CaseTree->SelectNode(kind, object))) {
        NodeSelected();
    }
}

bool TCaseView::TargetShown() const {
    const TPerception* perception = CurrentPerception();
    if (Target == nullptr || perception == nullptr) {
        return Target != nullptr;
    }
    for (const auto& fip : perception->FiPs) {
        if (fip.get() == Target) {
            return true;
        }
    }
    for (const auto& link : perception->Links) {
        if (link.get() == Target) {
            return true;
        }
    }
    return Target == AiAOfSelection || Target == TargetConcept;
}

// --- Closing ---

bool TCaseView::CanClose() {
    FinishCommentEdit();
    if (ComputationRunning) {
        QApplication::beep();
        return false;
    }
    if (!CaseModel->Modified) {
        return true;
    }
    // The case's full name tells which case is asked about when the program closes.
    switch (TQuestionBox::Ask(this, QMessageBox::Warning, ToQString(CaseModel->Name),
                              tr("Do you want to save the changes you made?"),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              QMessageBox::Yes)) {
        case QMessageBox::No:
            return true;
        case QMessageBox::Yes:
            // Only a save that worked lets the window go; anything else counts as Cancel.
            return Save() && !CaseModel->Modified;
        default:
            return false;
    }
}

void TCaseView::closeEvent(QCloseEvent* event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    event->accept();
    DiscardRecovery();
    // The pane and the layout window keep nothing of a case that is gone.
    if (Info) {
        Info->Clear();
    }
    if (ShowsLayout()) {
        Layout->Detach();
    }
    if (Grouping && Grouping->ShownCase() == CaseModel.get()) {
        Grouping->SetCase(nullptr, {});
    }
    if (AnalysisWindow && AnalysisWindow->ShownCase() == CaseModel.get()) {
        AnalysisWindow->SetCase(nullptr, {});
    }
    emit Closed(this);
}

bool TCaseView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched == CaseTree->viewport()) {
        ExplainTreePointer(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == DiagramBar) {
        ShowPerceptionState();
        return true;
    } else if (event->type() == QEvent::MouseButtonPress && watched == CaseTree->viewport()) {
        FinishCommentEdit();
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = press->position().toPoint();
        if (press->button() == Qt::LeftButton && CaseTree->OnTagMarker(at)) {
            CaseTree->setCurrentItem(CaseTree->itemAt(at));
            // A press on a node's tag marker tags it, once the press is over.
            QTimer::singleShot(0, this, &TCaseView::TagItem);
            return true;
        }
    } else if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
               watched == Diagram && !Editing) {
        UpdateCommentTarget();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kavo
