#include "views/TActorRelationDlg.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "diagram/CaseIcons.h"
#include "diagram/DiagramColors.h"
#include "diagram/TCanvas.h"
#include "diagram/TRelationsDiagram.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

constexpr int kStartWidth = 760;
constexpr int kStartHeight = 560;
const QString kEditingStyle = QStringLiteral("background: #C0DCC0;");

// Tool buttons: choosing the focal actor, then the types (affect twice, by sign).
enum TTool {
    tlFocal = 0,
    tlPositiveAffect,
    tlNegativeAffect,
    tlCooperation,
    tlDominance,
    tlFrankness
};

// The picture of the relations: it draws the diagram and passes the pointer on.
class TPicture : public QWidget {
  public:
    TPicture(TRelationsDiagram& diagram, QWidget* parent) : QWidget(parent), Diagram(diagram) {
        setObjectName(QStringLiteral("relationsPicture"));
        setMouseTracking(true);
        setMinimumSize(200, 160);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    std::function<void(QPoint)> Moved;
    std::function<void(QPoint)> Pressed;
    std::function<void(QPoint)> Released;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TQtCanvas canvas(painter, TCanvasQuality::cqSmooth);
        Diagram.Draw(canvas);
    }
    void resizeEvent(QResizeEvent*) override {
        Diagram.Width = width();
        Diagram.Height = height();
        Diagram.Place();
    }
    void mouseMoveEvent(QMouseEvent* event) override { Moved(event->position().toPoint()); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            Pressed(event->position().toPoint());
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            Released(event->position().toPoint());
        }
    }

  private:
    TRelationsDiagram& Diagram;
};

QToolButton* ToolButton(QToolBar* bar, const QIcon& icon, const QString& hint, const char* name,
                        bool checkable) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QIcon RelationIcon(TActorRelationType type, int strength) {
    return DrawnIcon({kRelationIconWidth, kRelationIconHeight}, [type, strength](TCanvas& canvas) {
        DrawRelationIcon(canvas, static_cast<int>(type), strength);
    });
}

// An actor (a ring) with arrows leaving it, arriving at it, or both.
QIcon FilterIcon(bool outgoing, bool incoming) {
    return DrawnIcon({16, 16}, [outgoing, incoming](TCanvas& canvas) {
        canvas.SetPen(kPurple, 2);
        canvas.SetBrush(kWhite);
        canvas.Ellipse({5, 5, 11, 11});
        canvas.SetPen(kBlack);
        if (outgoing) {
            canvas.Line({11, 8}, {16, 8});
            canvas.Line({13, 5}, {16, 8});
            canvas.Line({13, 11}, {16, 8});
        }
        if (incoming) {
            canvas.Line({0, 8}, {5, 8});
            canvas.Line({2, 5}, {5, 8});
            canvas.Line({2, 11}, {5, 8});
        }
    });
}

QIcon CircleIcon(bool clusters) {
    return DrawnIcon({16, 16}, [clusters](TCanvas& canvas) {
        canvas.SetPen(kBlue);
        canvas.SetBrush(kBlue);
        const std::vector<TPoint> ring{{7, 1}, {12, 4}, {12, 10}, {7, 13}, {2, 10}, {2, 4}};
        const std::vector<TPoint> groups{{2, 2}, {5, 3}, {3, 6}, {11, 9}, {13, 12}, {10, 12}};
        for (const TPoint& p : clusters ? groups : ring) {
            canvas.Ellipse({p.X, p.Y, p.X + 3, p.Y + 3});
        }
    });
}

QIcon CrossIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(kRed, 2);
        canvas.Line({3, 3}, {13, 13});
        canvas.Line({13, 3}, {3, 13});
    });
}

QIcon EditIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(kBlue, 2);
        canvas.Line({3, 13}, {13, 3});
        canvas.SetPen(kBlack);
        canvas.Line({2, 14}, {4, 12});
    });
}

QIcon TickIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(TColor{0, 128, 0}, 2);
        canvas.Line({2, 8}, {6, 12});
        canvas.Line({6, 12}, {14, 3});
    });
}

QString Joined(const std::vector<std::string>& lines) {
    QStringList joined;
    for (const std::string& line : lines) {
        joined << ToQString(line);
    }
    return joined.join(QLatin1Char('\n')).trimmed();
}

}  // namespace

TActorRelationDlg::TActorRelationDlg(TCase& owningCase, TChangeRelation changeRelation,
                                     TChangeComment changeComment, QWidget* parent)
    : QDialog(parent),
      Case(owningCase),
      ChangeRelation(std::move(changeRelation)),
      ChangeComment(std::move(changeComment)),
      Shown(std::make_unique<TRelationsDiagram>(owningCase)) {
    setWindowTitle(tr("Actor relations"));
    resize(kStartWidth, kStartHeight);

    auto* picture = new TPicture(*Shown, this);
    picture->Moved = [this](QPoint at) { PointerMoved(at); };
    picture->Pressed = [this](QPoint at) { PointerPressed(at); };
    picture->Released = [this](QPoint at) { PointerReleased(at); };
    PictureArea = picture;

    Types = new QListWidget(this);
    Types->setObjectName(QStringLiteral("visibleRelations"));
    for (int t = 0; t < kRelationTypeCount; ++t) {
        auto* entry = new QListWidgetItem(
            QString::fromLatin1(RelationTypeName(static_cast<TActorRelationType>(t))), Types);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Checked);
    }
    Types->setFixedWidth(130);
    connect(Types, &QListWidget::itemChanged, this, &TActorRelationDlg::TypesChecked);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(tr("Visible relations:"), this));
    side->addWidget(Types);
    side->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(PictureArea, 1);
    middle->addLayout(side);

    auto* statusBar = new QStatusBar(this);
    Status = new QLabel(statusBar);
    Status->setObjectName(QStringLiteral("statusPanel"));
    statusBar->addWidget(Status, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CreateToolBar());
    layout->addLayout(middle, 1);
    layout->addWidget(CreateCommentArea());
    layout->addWidget(statusBar);
    ShowState();
}

TActorRelationDlg::~TActorRelationDlg() = default;

QWidget* TActorRelationDlg::CreateToolBar() {
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(24, 16));
    Tools = new QButtonGroup(this);
    Tools->setExclusive(true);
    const auto tool = [&](TTool id, const QIcon& icon, const QString& hint, const char* name) {
        Tools->addButton(ToolButton(bar, icon, hint, name, true), id);
    };
    tool(tlFocal,
         DrawnIcon({16, 16}, [](TCanvas& canvas) { DrawCaseIcon(canvas, TCaseIcon::ciActor); }),
         tr("Select focal actor"), "focalButton");
    tool(tlPositiveAffect, RelationIcon(TActorRelationType::rtAffect, 1),
         QString::fromLatin1(RelationTypeHint(TActorRelationType::rtAffect)),
         "positiveAffectButton");
    tool(tlNegativeAffect, RelationIcon(TActorRelationType::rtAffect, -1),
         QString::fromLatin1(RelationTypeHint(TActorRelationType::rtAffect, true)),
         "negativeAffectButton");
    tool(tlCooperation, RelationIcon(TActorRelationType::rtCooperation, 1),
         QString::fromLatin1(RelationTypeHint(TActorRelationType::rtCooperation)),
         "cooperationButton");
    tool(tlDominance, RelationIcon(TActorRelationType::rtDominance, 1),
         QString::fromLatin1(RelationTypeHint(TActorRelationType::rtDominance)), "dominanceButton");
    tool(tlFrankness, RelationIcon(TActorRelationType::rtFrankness, 1),
         QString::fromLatin1(RelationTypeHint(TActorRelationType::rtFrankness)), "franknessButton");
    Tools->button(tlFocal)->setChecked(true);
    connect(Tools, &QButtonGroup::idClicked, this, &TActorRelationDlg::ToolChosen);

    Strength = new QSpinBox(bar);
    Strength->setObjectName(QStringLiteral("strengthControl"));
    Strength->setRange(1, 5);
    Strength->setToolTip(tr("Change strength of affect (1-5)"));
    bar->addWidget(Strength);
    connect(Strength, &QSpinBox::valueChanged, this, &TActorRelationDlg::StrengthChangedByUser);
    Tail = new QSpinBox(bar);
    Tail->setObjectName(QStringLiteral("tailControl"));
    Tail->setRange(20, 200);
    Tail->setSingleStep(5);
    Tail->setToolTip(tr("Increase/reduce blank space between actor and arrows"));
    bar->addWidget(Tail);
    connect(Tail, &QSpinBox::valueChanged, this, [this](int value) {
        Shown->TailDistance = value;
        Redraw();
    });
    bar->addSeparator();

    Filters = new QButtonGroup(this);
    Filters->setExclusive(false);
    Filters->addButton(ToolButton(bar, FilterIcon(true, true),
                                  tr("Show all arrows for selected actor"), "filterAll", true),
                       static_cast<int>(TRelationFilter::rfAll));
    Filters->addButton(
        ToolButton(bar, FilterIcon(true, false), tr("Show outgoing arrows only for selected actor"),
                   "filterOutgoing", true),
        static_cast<int>(TRelationFilter::rfOutgoing));
    Filters->addButton(
        ToolButton(bar, FilterIcon(false, true), tr("Show incoming actors only for selected actor"),
                   "filterIncoming", true),
        static_cast<int>(TRelationFilter::rfIncoming));
    connect(Filters, &QButtonGroup::buttonToggled, this, &TActorRelationDlg::FilterChosen);
    bar->addSeparator();

    QToolButton* circle = ToolButton(bar, CircleIcon(false),
                                     tr("Arrange actors in a single circle"), "circleButton", true);
    circle->setChecked(true);
    QToolButton* clusters =
        ToolButton(bar, CircleIcon(true), tr("Arrange actors in clusters"), "clusterButton", true);
    clusters->setEnabled(false);
    bar->addSeparator();
    DeleteBtn =
        ToolButton(bar, CrossIcon(), tr("Delete selected relation"), "deleteRelationButton", false);
    connect(DeleteBtn, &QToolButton::clicked, this, &TActorRelationDlg::DeleteSelected);
    CopyBtn = ToolButton(bar, CopyIcon(), tr("Copy graph to clipboard"), "copyButton", false);
    connect(CopyBtn, &QToolButton::clicked, this, &TActorRelationDlg::CopyToClipboard);
    return bar;
}

QWidget* TActorRelationDlg::CreateCommentArea() {
    auto* area = new QWidget(this);
    Comment = new QTextEdit(area);
    Comment->setObjectName(QStringLiteral("commentBox"));
    Comment->setReadOnly(true);
    Comment->setAcceptRichText(false);
    Comment->setFixedHeight(70);
    auto* bar = new QToolBar(area);
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(16, 16));
    EditBtn = ToolButton(bar, EditIcon(), tr("Edit comment"), "editCommentButton", false);
    AcceptBtn = ToolButton(bar, TickIcon(), tr("Accept changes"), "acceptButton", false);
    CancelBtn = ToolButton(bar, CrossIcon(), tr("Cancel editing"), "cancelButton", false);
    connect(EditBtn, &QToolButton::clicked, this, &TActorRelationDlg::StartCommentEdit);
    connect(AcceptBtn, &QToolButton::clicked, this, &TActorRelationDlg::AcceptCommentEdit);
    connect(CancelBtn, &QToolButton::clicked, this, &TActorRelationDlg::CancelCommentEdit);
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Comment, 1);
    layout->addWidget(bar);
    return area;
}

QAbstractButton* TActorRelationDlg::FocalButton() const {
    return Tools->button(tlFocal);
}

QAbstractButton* TActorRelationDlg::TypeButton(int type, bool negative) const {
    switch (static_cast<TActorRelationType>(type)) {
        case TActorRelationType::rtAffect:
            return Tools->button(negative ? tlNegativeAffect : tlPositiveAffect);
        case TActorRelationType::rtCooperation:
            return Tools->button(tlCooperation);
        case TActorRelationType::rtDominance:
            return Tools->button(tlDominance);
        case TActorRelationType::rtFrankness:
            return Tools->button(tlFrankness);
    }
    return nullptr;
}

QAbstractButton* TActorRelationDlg::FilterButton(int filter) const {
    return Filters->button(filter);
}

void TActorRelationDlg::Redraw() {
    PictureArea->update();
}

void TActorRelationDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Redraw();
}

void TActorRelationDlg::closeEvent(QCloseEvent* event) {
    FinishCommentEdit();
    QDialog::closeEvent(event);
}

// --- Tools ---

void TActorRelationDlg::ToolChosen(int id) {
    TRelationsDiagram& d = *Shown;
    switch (id) {
        case tlFocal:
            d.ChosenType.reset();
            break;
        case tlPositiveAffect:
        case tlNegativeAffect:
            d.ChosenType = TActorRelationType::rtAffect;
            d.NegativeAffect = id == tlNegativeAffect;
            break;
        case tlCooperation:
            d.ChosenType = TActorRelationType::rtCooperation;
            break;
        case tlDominance:
            d.ChosenType = TActorRelationType::rtDominance;
            break;
        default:
            d.ChosenType = TActorRelationType::rtFrankness;
            break;
    }
    // A tool sets the strength control without changing any relation.
    d.Strength = 1;
    ShowState();
}

void TActorRelationDlg::StrengthChangedByUser(int value) {
    if (const auto request = Shown->StrengthChanged(value)) {
        Apply(*request);
    }
    ShowState();
}

void TActorRelationDlg::FilterChosen(QAbstractButton* button, bool checked) {
    if (checked) {
        for (QAbstractButton* other : Filters->buttons()) {
            if (other != button) {
                const QSignalBlocker quiet(other);
                other->setChecked(false);
            }
        }
    }
    Shown->Filter =
        checked ? static_cast<TRelationFilter>(Filters->id(button)) : TRelationFilter::rfNone;
    Redraw();
}

void TActorRelationDlg::TypesChecked() {
    for (int t = 0; t < kRelationTypeCount; ++t) {
        Shown->VisibleTypes[static_cast<std::size_t>(t)] =
            Types->item(t)->checkState() == Qt::Checked;
    }
    Redraw();
}

void TActorRelationDlg::DeleteSelected() {
    FinishCommentEdit();
    if (const auto request = Shown->DeleteSelected()) {
        Apply(*request);
    }
    ShowState();
}

void TActorRelationDlg::CopyToClipboard() {
    CopyDrawing(
        {Shown->Width, Shown->Height}, [this](TCanvas& canvas) { Shown->Draw(canvas); },
        tr("Actor relations"));
}

void TActorRelationDlg::Apply(const TRelationRequest& request) {
    ChangeRelation(request);
    Redraw();
}

void TActorRelationDlg::ShowState() {
    TRelationsDiagram& d = *Shown;
    const bool focal = d.Focal() != nullptr;
    for (QAbstractButton* button : Filters->buttons()) {
        button->setEnabled(focal);
        if (!focal) {
            const QSignalBlocker quiet(button);
            button->setChecked(false);
        }
    }
    int tool = tlFocal;
    if (d.ChosenType) {
        switch (*d.ChosenType) {
            case TActorRelationType::rtAffect:
                tool = d.NegativeAffect ? tlNegativeAffect : tlPositiveAffect;
                break;
            case TActorRelationType::rtCooperation:
                tool = tlCooperation;
                break;
            case TActorRelationType::rtDominance:
                tool = tlDominance;
                break;
            case TActorRelationType::rtFrankness:
                tool = tlFrankness;
                break;
        }
    }
    Tools->button(tool)->setChecked(true);
    {
        const QSignalBlocker quiet(Strength);
        Strength->setValue(d.Strength);
    }
    Strength->setEnabled(d.ChosenType == TActorRelationType::rtAffect);
    DeleteBtn->setEnabled(d.SelectedArrow() != nullptr);
    if (!Editing) {
        ShowComment();
    }
    Redraw();
}

// --- The pointer ---

void TActorRelationDlg::PointerMoved(QPoint at) {
    TRelationsDiagram& d = *Shown;
    d.Pointer = {at.x(), at.y()};
    const int actor = d.ActorAt(at.x(), at.y());
    if (actor >= 0) {
        PictureArea->setCursor(Qt::PointingHandCursor);
        if (!Editing) {
            Status->setText(ToQString(Case.ActorList[actor]->Name));
        }
    } else {
        const bool onArrow = !d.Drawing && d.ArrowAt(at.x(), at.y()).has_value();
        PictureArea->setCursor(d.Drawing ? Qt::CrossCursor
                               : onArrow ? Qt::PointingHandCursor
                                         : Qt::ArrowCursor);
        if (!Editing) {
            Status->clear();
        }
    }
    if (d.Drawing) {
        Redraw();
    }
}

void TActorRelationDlg::PointerPressed(QPoint at) {
    FinishCommentEdit();
    Shown->Press(at.x(), at.y());
    ShowState();
}

void TActorRelationDlg::PointerReleased(QPoint at) {
    if (const auto request = Shown->Release(at.x(), at.y())) {
        Apply(*request);
    }
    ShowState();
}

// --- Comments ---

TCommentedObject* TActorRelationDlg::CommentTarget() const {
    if (TActor* focal = Shown->Focal()) {
        return focal;
    }
    const auto& selected = Shown->Selected;
    if (!selected) {
        return nullptr;
    }
    const int index = Case.FindRelation(selected->From, selected->To);
    return index >= 0 ? Case.Relations[static_cast<std::size_t>(index)].get() : nullptr;
}

QString TActorRelationDlg::CommentDescription() const {
    if (const TActor* focal = Shown->Focal()) {
        return tr("Editing comment for actor ") + ToQString(focal->Name);
    }
    const auto& selected = Shown->Selected;
    return tr("Editing comment for relation(s) from ") + ToQString(selected->From->ShortName) +
           tr(" to ") + ToQString(selected->To->ShortName);
}

void TActorRelationDlg::ShowComment() {
    const TCommentedObject* target = CommentTarget();
    CommentOriginal = target != nullptr ? Joined(target->Comment) : QString();
    Comment->setPlainText(CommentOriginal);
    EditBtn->setEnabled(target != nullptr);
    AcceptBtn->setEnabled(false);
    CancelBtn->setEnabled(false);
}

void TActorRelationDlg::StartCommentEdit() {
    if (Editing || CommentTarget() == nullptr) {
        return;
    }
    Editing = true;
    EditBtn->setEnabled(false);
    AcceptBtn->setEnabled(true);
    CancelBtn->setEnabled(true);
    Comment->setStyleSheet(QStringLiteral("QTextEdit { %1 }").arg(kEditingStyle));
    Comment->setReadOnly(false);
    Comment->moveCursor(QTextCursor::Start);
    Comment->setFocus();
    Status->setText(CommentDescription());
    Status->setStyleSheet(kEditingStyle);
}

void TActorRelationDlg::AcceptCommentEdit() {
    if (!Editing) {
        return;
    }
    if (TCommentedObject* target = CommentTarget()) {
        ChangeComment(*target, Trim(Comment->toPlainText().toStdString()));
    }
    CancelCommentEdit();
}

void TActorRelationDlg::CancelCommentEdit() {
    if (!Editing) {
        return;
    }
    Editing = false;
    Comment->setReadOnly(true);
    Comment->setStyleSheet(QString());
    Status->setStyleSheet(QString());
    Status->clear();
    ShowComment();
}

void TActorRelationDlg::FinishCommentEdit() {
    if (!Editing) {
        return;
    }
    if (Comment->toPlainText().trimmed() == CommentOriginal) {
        CancelCommentEdit();
        return;
    }
    QMessageBox question(QMessageBox::Question, windowTitle(), tr("Save comment?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    if (question.exec() == QMessageBox::Yes) {
        AcceptCommentEdit();
    } else {
        CancelCommentEdit();
    }
}

}  // namespace kavo
