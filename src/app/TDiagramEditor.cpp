#include "app/TDiagramEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TEditGoalDlg.h"
#include "app/TEditLinkDlg.h"
#include "app/TEditProspectDlg.h"
#include "diagram/HitTest.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TDrawMode.h"
#include "editing/CaseEdits.h"
#include "editing/PerceptionClipboard.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "qtgui/DiagramPictures.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

// How near the pointer comes to the visible edge before the diagram scrolls, and by how much,
// in image pixels.
constexpr int kScrollMargin = 10;
constexpr int kScrollStep = 8;

// The clipboard format of case-file rows, beside plain text.
const QString kRowsFormat = QStringLiteral("application/x-kavo-rows");

std::vector<TFiP*> SelectedFiPs(const TPerception& perception) {
    std::vector<TFiP*> fips;
    for (const TPerceptionItem& item : perception.Selection) {
        if (TFiP* const* fip = std::get_if<TFiP*>(&item)) {
            fips.push_back(*fip);
        }
    }
    return fips;
}

// Adds the item to the selection when absent, takes it out when present.
void Toggle(TPerception& perception, TPerceptionItem item) {
    auto& selection = perception.Selection;
    const auto found = std::find(selection.begin(), selection.end(), item);
    if (found == selection.end()) {
        selection.push_back(item);
    } else {
        selection.erase(found);
    }
}

}  // namespace

TDiagramEditor::TDiagramEditor(TCaseView& view, TDiagramView& diagram)
    : QObject(&view), View(view), Diagram(diagram) {
    Diagram.installEventFilter(this);
}

TDiagramEditor::~TDiagramEditor() = default;

TEditFactorDlg& TDiagramEditor::FactorDialog(TFactorKind kind) {
    auto& dialog = FactorDialogs[static_cast<int>(kind)];
    if (!dialog) {
        dialog = std::make_unique<TEditFactorDlg>(kind, &View);
    }
    return *dialog;
}

TEditGoalDlg& TDiagramEditor::GoalEditor() {
    if (!Goals) {
        Goals = std::make_unique<TEditGoalDlg>(&View);
    }
    return *Goals;
}

TEditProspectDlg& TDiagramEditor::ProspectEditor() {
    if (!Prospects) {
        Prospects = std::make_unique<TEditProspectDlg>(&View);
    }
    return *Prospects;
}

TEditLinkDlg& TDiagramEditor::LinkEditor() {
    if (!Links) {
        Links = std::make_unique<TEditLinkDlg>(&View);
    }
    return *Links;
}

TPerception* TDiagramEditor::Editable() const {
    return Diagram.DiagramEnabled() ? Diagram.Perception() : nullptr;
}

void TDiagramEditor::SetLinkMode(bool on) {
    if (Linkmode != on) {
        Linkmode = on;
        emit LinkModeChanged(on);
    }
}

QPoint TDiagramEditor::DiagramPoint(const QMouseEvent& event) const {
    const QPointF at = event.position() / Diagram.Zoom();
    return {static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y()))};
}

void TDiagramEditor::HitTopmost(const TPerception& perception, QPoint at, TFiP*& fip,
                                TLink*& link) const {
    fip = nullptr;
    link = nullptr;
    for (auto item = perception.FiPs.rbegin(); item != perception.FiPs.rend(); ++item) {
        if (HitFiP(**item, at.x(), at.y())) {
            fip = item->get();
            return;
        }
    }
    for (auto item = perception.Links.rbegin(); item != perception.Links.rend(); ++item) {
        if (HitLink(**item, at.x(), at.y())) {
            link = item->get();
            return;
        }
    }
}

TFiP* TDiagramEditor::FirstFiPAt(const TPerception& perception, QPoint at) const {
    for (const auto& fip : perception.FiPs) {
        if (HitFiP(*fip, at.x(), at.y())) {
            return fip.get();
        }
    }
    return nullptr;
}

bool TDiagramEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Diagram) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                Press(*static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseMove:
                Move(*static_cast<QMouseEvent*>(event));
                break;
            case QEvent::MouseButtonRelease:
                Release(*static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonDblClick:
                DoubleClick(*static_cast<QMouseEvent*>(event));
                return true;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TDiagramEditor::Changed() {
    Diagram.Refresh();
    emit SelectionChanged();
}

void TDiagramEditor::Press(QMouseEvent& event) {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr || event.button() != Qt::LeftButton) {
        return;
    }
    Diagram.setFocus();
    MousePos = DiagramPoint(event);
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::AltModifier) {
        SetLinkMode(true);
    }
    TFiP* fip = nullptr;
    TLink* link = nullptr;
    HitTopmost(*perception, MousePos, fip, link);
    if (fip != nullptr) {
        const int level = HitRangeCell(*fip, MousePos.x(), MousePos.y());
        if (level != kNoLevel) {
            if (View.CanEdit()) {
                TEdit edit;
                PressRangeCell(edit, *perception, *fip, level, (keys & Qt::ControlModifier) != 0,
                               (keys & Qt::AltModifier) != 0);
                View.Perform(std::move(edit));
            }
            return;
        }
    }
    if (!Linkmode) {
        if ((fip == nullptr && link == nullptr) || !(keys & Qt::ShiftModifier)) {
            perception->Selection.clear();
        }
        if (fip != nullptr) {
            Toggle(*perception, fip);
        } else if (link != nullptr) {
            Toggle(*perception, link);
        }
        Moving = fip != nullptr;
        Diagram.SetLive(Moving);
        DragAnchor = MousePos;
        ++DragKey;
    } else {
        perception->Selection.clear();
        if (fip != nullptr) {
            perception->Selection.push_back(fip);
        }
        Linking = fip != nullptr;
    }
    Changed();
}

void TDiagramEditor::Move(QMouseEvent& event) {
    MousePos = DiagramPoint(event);
    TPerception* perception = Editable();
    if (perception == nullptr) {
        Diagram.unsetCursor();
        return;
    }
    if (Moving) {
        Drag();
    }
    if (Moving || Linking) {
        ScrollNearEdge(event.position().toPoint());
    }
    TFiP* under = FirstFiPAt(*perception, MousePos);
    if (Linking) {
        const std::vector<TFiP*> fips = SelectedFiPs(*perception);
        if (!fips.empty()) {
            Diagram.SetGuide(QPoint(fips.front()->X, fips.front()->Y), MousePos);
        }
    }
    bool overRange = false;
    if (perception->Case()->RangeBarShown) {
        for (const auto& fip : perception->FiPs) {
            overRange = overRange || HitRangeCell(*fip, MousePos.x(), MousePos.y()) != kNoLevel;
        }
    }
    if (overRange) {
        Diagram.setCursor(Qt::PointingHandCursor);
    } else if (Linking && under == nullptr) {
        Diagram.setCursor(Qt::CrossCursor);
    } else {
        Diagram.unsetCursor();
    }
}

void TDiagramEditor::Drag() {
    TPerception* perception = Editable();
    const QPoint step = MousePos - DragAnchor;
    if (perception == nullptr || step.isNull() || !View.CanEdit()) {
        return;
    }
    TEdit edit;
    edit.MergeKey = DragKey;
    const TPoint shift = MoveFiPs(edit, *perception, SelectedFiPs(*perception), step.x(), step.y());
    View.Perform(std::move(edit));
    if (shift != TPoint{}) {
        // The diagram went back into its area: the boxes stay under the pointer.
        MousePos += QPoint(shift.X, shift.Y);
        const double zoom = Diagram.Zoom();
        QCursor::setPos(QCursor::pos() + QPoint(static_cast<int>(std::lround(shift.X * zoom)),
                                                static_cast<int>(std::lround(shift.Y * zoom))));
    }
    DragAnchor = MousePos;
}

void TDiagramEditor::ScrollNearEdge(QPoint imagePoint) {
    // The drawing area is the widget of a scroll area, inside its viewport.
    QWidget* viewport = Diagram.parentWidget();
    auto* area =
        viewport != nullptr ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
    if (area == nullptr) {
        return;
    }
    const auto follow = [](QScrollBar* bar, int at, int visible) {
        if (at < bar->value() + kScrollMargin) {
            bar->setValue(bar->value() - kScrollStep);
        } else if (at > bar->value() + visible - kScrollMargin) {
            bar->setValue(bar->value() + kScrollStep);
        }
    };
    follow(area->horizontalScrollBar(), imagePoint.x(), viewport->width());
    follow(area->verticalScrollBar(), imagePoint.y(), viewport->height());
}

void TDiagramEditor::PlaceAtDiagram(QWidget& dialog) const {
    QWidget* viewport = Diagram.parentWidget();
    dialog.move((viewport != nullptr ? viewport : &Diagram)->mapToGlobal(QPoint(0, 0)));
}

void TDiagramEditor::Release(QMouseEvent& event) {
    TPerception* perception = Editable();
    if (perception == nullptr || event.button() != Qt::LeftButton) {
        return;
    }
    MousePos = DiagramPoint(event);
    if (Moving) {
        Drag();
        Moving = false;
        Diagram.SetLive(false);
    } else if (Linking) {
        Linking = false;
        Diagram.ClearGuide();
        TFiP* target = FirstFiPAt(*perception, MousePos);
        const std::vector<TFiP*> fips = SelectedFiPs(*perception);
        if (target != nullptr && !fips.empty() && target != fips.front()) {
            EditLink(*fips.front(), *target, nullptr);
        }
        SetLinkMode(false);
    }
    Changed();
}

void TDiagramEditor::DoubleClick(QMouseEvent& event) {
    TPerception* perception = Editable();
    if (perception == nullptr || event.button() != Qt::LeftButton) {
        return;
    }
    Moving = false;
    Linking = false;
    Diagram.SetLive(false);
    Diagram.setFocus();
    MousePos = DiagramPoint(event);
    TFiP* fip = nullptr;
    TLink* link = nullptr;
    HitTopmost(*perception, MousePos, fip, link);
    perception->Selection.clear();
    if (fip != nullptr) {
        perception->Selection.push_back(fip);
        Changed();
        if (perception->GoalOf(fip) != nullptr || perception->ProspectOf(fip) == nullptr) {
            DefineGoal();
        } else {
            DefineProspect();
        }
    } else if (link != nullptr) {
        perception->Selection.push_back(link);
        Changed();
        EditLink(*link->FromFiP, *link->ToFiP, link);
    } else {
        Changed();
    }
}

void TDiagramEditor::EditLink(TFiP& source, TFiP& target, TLink* old) {
    TPerception* perception = Editable();
    TEditLinkDlg& editor = LinkEditor();
    editor.Start(source, target, old);
    PlaceAtDiagram(editor);
    if (editor.exec() != QDialog::Accepted || !View.CanEdit() || perception == nullptr) {
        return;
    }
    std::unique_ptr<TLink> edited = editor.TakeResult();
    TEdit edit;
    if (old != nullptr) {
        SetLinkValues(edit, *perception, *old, *edited);
    } else {
        AddLink(edit, *perception, std::move(edited));
    }
    View.Perform(std::move(edit));
}

TFiP* TDiagramEditor::OnlySelectedFiP() const {
    const TPerception* perception = Editable();
    if (perception == nullptr || perception->Selection.size() != 1) {
        return nullptr;
    }
    TFiP* const* fip = std::get_if<TFiP*>(&perception->Selection.front());
    return fip != nullptr ? *fip : nullptr;
}

void TDiagramEditor::DefineGoal() {
    View.FinishCommentEdit();
    if (TFiP* fip = OnlySelectedFiP()) {
        EditGoalOf(*fip);
    }
}

void TDiagramEditor::DefineProspect() {
    View.FinishCommentEdit();
    if (TFiP* fip = OnlySelectedFiP()) {
        EditProspectOf(*fip);
    }
}

void TDiagramEditor::EditGoalOf(TFiP& fip) {
    TPerception* perception = Editable();
    if (fip.Factor->IsAction) {
        perception->Case()->Messages().ShowWarning("Actions can never be goals");
        return;
    }
    TEditGoalDlg& editor = GoalEditor();
    editor.Start(fip, perception->GoalOf(&fip));
    PlaceAtDiagram(editor);
    if (editor.exec() != QDialog::Accepted || !View.CanEdit()) {
        return;
    }
    TEdit edit;
    SetGoal(edit, *perception, fip, editor.TakeResult());
    View.Perform(std::move(edit));
}

void TDiagramEditor::EditProspectOf(TFiP& fip) {
    TPerception* perception = Editable();
    TEditProspectDlg& editor = ProspectEditor();
    editor.Start(fip, perception->ProspectOf(&fip));
    PlaceAtDiagram(editor);
    if (editor.exec() != QDialog::Accepted || !View.CanEdit()) {
        return;
    }
    TEdit edit;
    SetProspect(edit, *perception, fip, editor.TakeResult());
    View.Perform(std::move(edit));
}

void TDiagramEditor::EraseGoalsAndProspects() {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr || !View.CanEdit()) {
        return;
    }
    TEdit edit;
    ClearGoalsAndProspects(edit, *perception);
    View.Perform(std::move(edit));
}

void TDiagramEditor::AddFactor(TFactorKind kind) {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr) {
        return;
    }
    TEditFactorDlg& dialog = FactorDialog(kind);
    PlaceAtDiagram(dialog);
    if (!dialog.Ask(View.Case()) || !View.CanEdit()) {
        return;
    }
    TCase& c = View.Case();
    TEdit edit(kind == TFactorKind::fkFactor   ? "Add factor"
               : kind == TFactorKind::fkAction ? "Add action"
                                               : "Add attribute");
    const std::string shortName = dialog.ChosenShortName().toStdString();
    if (dialog.NewActor() && FindOrCreateActor(edit, c, shortName, shortName) == nullptr) {
        edit.Undo();
        return;
    }
    TFactor* factor = FindOrCreateFactor(edit, c, dialog.Name().toStdString(), false,
                                         kind == TFactorKind::fkAction,
                                         kind == TFactorKind::fkFactor ? std::string() : shortName);
    if (factor == nullptr) {
        edit.Undo();
        return;
    }
    auto fip = std::make_unique<TFiP>(factor);
    fip->Operator = dialog.Operator();
    const QPoint scroll = Diagram.visibleRegion().boundingRect().topLeft();
    const double zoom = Diagram.Zoom();
    fip->X = static_cast<int>(std::lround(scroll.x() / zoom)) + CascadeX + factor->BoxWidth;
    fip->Y = static_cast<int>(std::lround(scroll.y() / zoom)) + CascadeY + factor->BoxHeight;
    CascadeX = CascadeX + 10 > View.width() - 10 ? 10 : CascadeX + 10;
    CascadeY = CascadeY + 10 > View.height() - 10 ? 10 : CascadeY + 10;
    AddFiP(edit, *perception, std::move(fip));
    View.Perform(std::move(edit));
}

void TDiagramEditor::Copy() {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr) {
        return;
    }
    CopySelection(*perception);
    const std::vector<std::string>& rows = perception->Case()->Context().CopyBuffer;
    QString text;
    for (const std::string& row : rows) {
        text += ToQString(row) + QStringLiteral("\r\n");
    }
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(kRowsFormat, text.toUtf8());
    const QImage image = PerceptionImage(*perception, TDrawMode::dmClipboard);
    data->setImageData(image);
    const QByteArray svg = DrawnSvg(image.size(), [perception](TCanvas& canvas) {
        DrawPerception(*perception, canvas, TDrawMode::dmClipboard);
    });
    if (!svg.isEmpty()) {
        data->setData(QStringLiteral("image/svg+xml"), svg);
    }
    QApplication::clipboard()->setMimeData(data);
    emit SelectionChanged();
}

void TDiagramEditor::Cut() {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr || perception->Selection.empty() || !View.CanEdit()) {
        return;
    }
    // The links of the selected FiPs go with them, each once.
    std::vector<TPerceptionItem> items;
    const auto addOnce = [&items](TPerceptionItem item) {
        if (std::find(items.begin(), items.end(), item) == items.end()) {
            items.push_back(item);
        }
    };
    for (const TPerceptionItem& item : perception->Selection) {
        addOnce(item);
    }
    for (TFiP* fip : SelectedFiPs(*perception)) {
        for (TLink* link : fip->InLinks) {
            addOnce(link);
        }
        for (TLink* link : fip->OutLinks) {
            addOnce(link);
        }
    }
    perception->Selection = items;
    Copy();
    TEdit edit("Cut");
    RemoveItems(edit, *perception, items);
    View.Perform(std::move(edit));
}

void TDiagramEditor::Paste() {
    View.FinishCommentEdit();
    TPerception* perception = Editable();
    if (perception == nullptr || !View.CanEdit()) {
        return;
    }
    std::vector<std::string> rows = perception->Case()->Context().CopyBuffer;
    // Rows another window or program put on the clipboard come first.
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasText()) {
        const QString text = data->hasFormat(kRowsFormat)
                                 ? QString::fromUtf8(data->data(kRowsFormat))
                                 : data->text();
        const QString joined = [&rows] {
            QString all;
            for (const std::string& row : rows) {
                all += ToQString(row) + QStringLiteral("\r\n");
            }
            return all;
        }();
        if (text != joined) {
            rows.clear();
            for (const QString& line : text.split(QStringLiteral("\n"))) {
                QString row = line;
                if (row.endsWith(QLatin1Char('\r'))) {
                    row.chop(1);
                }
                if (!row.isEmpty()) {
                    rows.push_back(row.toStdString());
                }
            }
        }
    }
    if (rows.empty()) {
        return;
    }
    TEdit edit("Paste");
    if (!kavo::Paste(edit, *perception, rows)) {
        edit.Undo();
        return;
    }
    View.Perform(std::move(edit));
}

void TDiagramEditor::SelectAll() {
    TPerception* perception = Editable();
    if (perception == nullptr) {
        return;
    }
    perception->Selection.clear();
    for (const auto& fip : perception->FiPs) {
        perception->Selection.push_back(fip.get());
    }
    for (const auto& link : perception->Links) {
        perception->Selection.push_back(link.get());
    }
    Changed();
}

void TDiagramEditor::AttachButtons(QWidget& bar) {
    Bar = &bar;
    const auto button = [&bar](const char* name) {
        return bar.findChild<QToolButton*>(QString::fromLatin1(name));
    };
    QToolButton* cursor = button("CursorBtn");
    QToolButton* link = button("LinkBtn");
    cursor->setCheckable(true);
    cursor->setChecked(true);
    link->setCheckable(true);
    cursor->setToolTip(tr("Switch to edit mode"));
    link->setToolTip(tr("Switch to link mode"));
    connect(cursor, &QToolButton::clicked, this, [this] { SetLinkMode(false); });
    connect(link, &QToolButton::clicked, this, [this] { SetLinkMode(true); });
    connect(this, &TDiagramEditor::LinkModeChanged, this, [cursor, link](bool on) {
        cursor->setChecked(!on);
        link->setChecked(on);
    });
    connect(button("FiPBtn"), &QToolButton::clicked, this,
            [this] { AddFactor(TFactorKind::fkFactor); });
    connect(button("AttributeBtn"), &QToolButton::clicked, this,
            [this] { AddFactor(TFactorKind::fkAttribute); });
    connect(button("ActionBtn"), &QToolButton::clicked, this,
            [this] { AddFactor(TFactorKind::fkAction); });
    connect(button("GoalBtn"), &QToolButton::clicked, this, &TDiagramEditor::DefineGoal);
    connect(button("ProspectBtn"), &QToolButton::clicked, this, &TDiagramEditor::DefineProspect);
    connect(button("ClearGPBtn"), &QToolButton::clicked, this,
            &TDiagramEditor::EraseGoalsAndProspects);
    button("ClearGPBtn")->setToolTip(tr("Clear selected goals and/or prospects"));
    button("SelTagBtn")->setToolTip(tr("Tag selected factor(s)"));
    connect(button("SelTagBtn"), &QToolButton::clicked, &View, &TCaseView::TagSelectedFactors);
    connect(button("CutBtn"), &QToolButton::clicked, this, &TDiagramEditor::Cut);
    connect(button("CopyBtn"), &QToolButton::clicked, this, &TDiagramEditor::Copy);
    connect(button("PasteBtn"), &QToolButton::clicked, this, &TDiagramEditor::Paste);
}

void TDiagramEditor::UpdateButtons(bool editable) {
    if (Bar == nullptr) {
        return;
    }
    const TDiagramCommandStates states = States();
    const auto enable = [this](const char* name, bool on) {
        Bar->findChild<QToolButton*>(QString::fromLatin1(name))->setEnabled(on);
    };
    for (const char* name :
         {"CursorBtn", "LinkBtn", "FiPBtn", "AttributeBtn", "ActionBtn", "CopyBtn"}) {
        enable(name, editable);
    }
    enable("GoalBtn", editable && states.DefineGoal);
    enable("ProspectBtn", editable && states.DefineProspect);
    enable("ClearGPBtn", editable && states.ClearGoals);
    enable("SelTagBtn", editable && states.TagSelected);
    enable("CutBtn", editable && states.Cut);
    enable("PasteBtn", editable && states.Paste);
}

TDiagramCommandStates TDiagramEditor::States() const {
    TDiagramCommandStates states;
    const TPerception* perception = Editable();
    if (perception == nullptr) {
        return states;
    }
    const std::vector<TFiP*> fips = SelectedFiPs(*perception);
    states.DefineGoal = perception->Selection.size() == 1 && fips.size() == 1;
    states.DefineProspect = states.DefineGoal;
    states.ClearGoals = !fips.empty();
    states.TagSelected = !fips.empty();
    states.Cut = !perception->Selection.empty();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    states.Paste = !perception->Case()->Context().CopyBuffer.empty() ||
                   (data != nullptr && data->hasFormat(kRowsFormat));
    return states;
}

}  // namespace kavo
