#include "app/TTagListDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstddef>
#include <string>

#include "app/ShellIcons.h"
#include "app/TQuestionBox.h"
#include "app/TTagColorDlg.h"
#include "diagram/TagIcon.h"
#include "editing/CaseEdits.h"
#include "editing/FactorEdits.h"
#include "editing/TEdit.h"
#include "model/Names.h"
#include "model/TCase.h"
#include "model/TTag.h"
#include "qtgui/QtConversions.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

constexpr int kTagRole = Qt::UserRole;
// The tree is shown again this long after a rename in place, when the editor has let go of it.
constexpr int kRebuildAfterRename = 20;
const QString kEditingStyle = QStringLiteral("QTextEdit { background: #C0DCC0; }");

QIcon TagIcon(const TTag& tag) {
    return DrawnIcon(QSize(kTagIconSize, kTagIconSize),
                     [&tag](TCanvas& canvas) { DrawTagIcon(canvas, tag); });
}

// The icon of the colour command: a tag in the palette's first colours.
QIcon ColorIcon() {
    const TTagColorDlg::TShades red = TTagColorDlg::ShadesOf(0, 0);
    return DrawnIcon(QSize(kTagIconSize, kTagIconSize), [&red](TCanvas& canvas) {
        DrawTagIcon(canvas, TColor::FromStored(red.Chosen), TColor::FromStored(red.Darker),
                    TColor::FromStored(red.Darkest));
    });
}

// The class of a concept, as the hint of the tree names it.
QString ClassWord(const TConcept& item) {
    switch (item.Kind) {
        case TConceptKind::ckTag:
            return QStringLiteral("Tag");
        case TConceptKind::ckArena:
            return QStringLiteral("Arena");
        case TConceptKind::ckActor:
            return QStringLiteral("Actor");
        case TConceptKind::ckFactor:
            return QStringLiteral("Factor");
        case TConceptKind::ckGroup:
            return QStringLiteral("Group");
        case TConceptKind::ckCase:
            return QStringLiteral("Case");
    }
    return QStringLiteral("Concept");
}

// The name as the windows show it: a factor's "_" stands for a blank.
std::string ShownNameOf(const TConcept& item) {
    return item.Kind == TConceptKind::ckFactor ? ShownName(item.Name) : item.Name;
}

bool Carries(const TConcept& item, const TTag* tag) {
    return std::find(item.Tags.begin(), item.Tags.end(), tag) != item.Tags.end();
}

}  // namespace

TTagListDlg::TTagListDlg(QWidget* parent)
    : QDialog(parent),
      Tree(new QTreeWidget(this)),
      Comment(new QTextEdit(this)),
      Colors(new TTagColorDlg(this)) {
    setObjectName(QStringLiteral("tagListDialog"));
    setWindowTitle(tr("Tags"));
    resize(300, 360);

    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    const auto addButton = [this, bar](const QIcon& icon, const QString& hint, const char* name) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(icon);
        button->setToolTip(hint);
        button->setAutoRaise(true);
        bar->addWidget(button);
        return button;
    };
    AddBtn = addButton(ShellIcon(TShellIcon::siTag), tr("Add new tag"), "AddBtn");
    CommentBtn = addButton(ShellIcon(TShellIcon::siEditComment), tr("Edit comment"), "CommentBtn");
    CommentBtn->setCheckable(true);
    ColorBtn = addButton(ColorIcon(), tr("Change tag color"), "ColorBtn");
    DeleteBtn = addButton(ShellIcon(TShellIcon::siDelete), tr("Delete tag"), "DeleteBtn");
    connect(AddBtn, &QToolButton::clicked, this, &TTagListDlg::AddTag);
    connect(CommentBtn, &QToolButton::toggled, this, &TTagListDlg::CommentToggled);
    connect(ColorBtn, &QToolButton::clicked, this, &TTagListDlg::ChangeColor);
    connect(DeleteBtn, &QToolButton::clicked, this, &TTagListDlg::DeleteTag);

    Tree->setObjectName(QStringLiteral("tagTree"));
    Tree->setHeaderHidden(true);
    Tree->setRootIsDecorated(false);
    Tree->setIconSize(QSize(kTagIconSize, kTagIconSize));
    Tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(Tree, &QTreeWidget::itemChanged, this, &TTagListDlg::NodeChanged);
    connect(Tree, &QTreeWidget::currentItemChanged, this, &TTagListDlg::CurrentChanged);

    Comment->setObjectName(QStringLiteral("commentBox"));
    Comment->setAcceptRichText(false);
    Comment->setFixedHeight(72);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OKBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TTagListDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTagListDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(Tree, 1);
    layout->addWidget(Comment);
    layout->addWidget(buttons);

    RenameTimer.setSingleShot(true);
    RenameTimer.setInterval(kRebuildAfterRename);
    connect(&RenameTimer, &QTimer::timeout, this, &TTagListDlg::RenamePending);
}

TTagListDlg::~TTagListDlg() = default;

bool TTagListDlg::Ask(TEdit& edit, TCase& owningCase, std::vector<TConcept*> targets,
                      QPoint topLeft) {
    Edit = &edit;
    Case = &owningCase;
    Targets = std::move(targets);
    Marks.clear();
    Commented = nullptr;
    Renamed = nullptr;
    Tree->setToolTip(TargetText());
    CommentBtn->setChecked(false);
    Comment->clear();
    Comment->setReadOnly(true);
    Comment->setStyleSheet(QString());
    Rebuild(nullptr);
    move(topLeft);
    const bool confirmed = exec() == QDialog::Accepted;
    Edit = nullptr;
    Case = nullptr;
    Targets.clear();
    return confirmed;
}

QString TTagListDlg::TargetText() const {
    if (Targets.empty()) {
        return {};
    }
    QStringList names;
    for (const TConcept* target : Targets) {
        names << ToQString(ShownNameOf(*target));
    }
    return ClassWord(*Targets.front()) + (Targets.size() > 1 ? QStringLiteral("s") : QString()) +
           QStringLiteral(": ") + names.join(QStringLiteral(", "));
}

Qt::CheckState TTagListDlg::MarkOnOpening(const TTag* tag) const {
    const auto carrying = static_cast<std::size_t>(
        std::count_if(Targets.begin(), Targets.end(),
                      [tag](const TConcept* item) { return Carries(*item, tag); }));
    if (carrying == 0) {
        return Qt::Unchecked;
    }
    return carrying == Targets.size() ? Qt::Checked : Qt::PartiallyChecked;
}

Qt::CheckState TTagListDlg::MarkOf(const TTag* tag) const {
    return Marks.value(tag, MarkOnOpening(tag));
}

TTag* TTagListDlg::TagOf(const QTreeWidgetItem* node) const {
    return node != nullptr ? static_cast<TTag*>(node->data(0, kTagRole).value<void*>()) : nullptr;
}

TTag* TTagListDlg::SelectedTag() const {
    return TagOf(Tree->currentItem());
}

QTreeWidgetItem* TTagListDlg::NodeOf(const TTag* tag) const {
    for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
        if (TagOf(Tree->topLevelItem(i)) == tag) {
            return Tree->topLevelItem(i);
        }
    }
    return nullptr;
}

void TTagListDlg::Rebuild(const TTag* select) {
    Filling = true;
    Tree->clear();
    QTreeWidgetItem* selected = nullptr;
    if (Case != nullptr) {
        for (const auto& tag : Case->TagList) {
            auto* node = new QTreeWidgetItem(Tree);
            node->setText(0, ToQString(tag->Name));
            node->setIcon(0, TagIcon(*tag));
            node->setData(0, kTagRole, QVariant::fromValue(static_cast<void*>(tag.get())));
            node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
            node->setCheckState(0, MarkOf(tag.get()));
            if (tag.get() == select) {
                selected = node;
            }
        }
    }
    Tree->setCurrentItem(selected);
    Filling = false;
    CurrentChanged(selected, nullptr);
}

void TTagListDlg::NodeChanged(QTreeWidgetItem* node, int) {
    TTag* tag = TagOf(node);
    if (Filling || tag == nullptr) {
        return;
    }
    const Qt::CheckState before = MarkOf(tag);
    if (node->checkState(0) != before) {
        // Unchecked becomes checked; checked and mixed become unchecked.
        const Qt::CheckState next = before == Qt::Unchecked ? Qt::Checked : Qt::Unchecked;
        Marks.insert(tag, next);
        Filling = true;
        node->setCheckState(0, next);
        Filling = false;
        return;
    }
    const QString typed = node->text(0).trimmed();
    if (node->text(0) == ToQString(tag->Name)) {
        return;
    }
    if (typed.isEmpty()) {
        Filling = true;
        node->setText(0, ToQString(tag->Name));
        Filling = false;
        return;
    }
    Renamed = tag;
    RenamedText = typed;
    RenameTimer.start();
}

void TTagListDlg::RenamePending() {
    RenameTimer.stop();
    TTag* tag = Renamed;
    Renamed = nullptr;
    if (tag == nullptr || Edit == nullptr) {
        return;
    }
    // A refused name is said in a warning; the tree then shows the old name again.
    RenameTag(*Edit, *Case, *tag, RenamedText.toStdString());
    Rebuild(tag);
}

void TTagListDlg::CurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem*) {
    if (Filling) {
        return;
    }
    // Leaving a tag whose comment is being edited keeps what was typed.
    EndCommentEdit(true);
    const TTag* tag = TagOf(current);
    const bool selected = tag != nullptr;
    CommentBtn->setEnabled(selected);
    ColorBtn->setEnabled(selected);
    DeleteBtn->setEnabled(selected);
    Comment->setEnabled(selected);
    QStringList lines;
    if (selected) {
        for (const std::string& line : tag->Comment) {
            lines << ToQString(line);
        }
    }
    Comment->setPlainText(lines.join(QLatin1Char('\n')));
}

void TTagListDlg::CommentToggled(bool pressed) {
    if (!pressed) {
        EndCommentEdit(true);
        return;
    }
    Commented = SelectedTag();
    if (Commented == nullptr) {
        CommentBtn->setChecked(false);
        return;
    }
    Comment->setReadOnly(false);
    Comment->setStyleSheet(kEditingStyle);
    Comment->setFocus();
}

void TTagListDlg::EndCommentEdit(bool store) {
    TTag* tag = Commented;
    if (tag == nullptr) {
        return;
    }
    Commented = nullptr;
    if (store && Edit != nullptr) {
        SetComment(*Edit, *tag, Comment->toPlainText().toStdString());
    }
    Comment->setReadOnly(true);
    Comment->setStyleSheet(QString());
    const QSignalBlocker quiet(CommentBtn);
    CommentBtn->setChecked(false);
}

void TTagListDlg::AddTag() {
    if (Edit == nullptr) {
        return;
    }
    EndCommentEdit(true);
    RenamePending();
    TTag* tag = FindOrCreateTag(*Edit, *Case, Case->NewTagName());
    Rebuild(tag);
}

void TTagListDlg::ChangeColor() {
    TTag* tag = SelectedTag();
    if (tag == nullptr || Edit == nullptr) {
        return;
    }
    EndCommentEdit(true);
    if (!Colors->Ask(Tree->mapToGlobal(QPoint(Tree->width() - 1, 0)))) {
        return;
    }
    const TTagColorDlg::TShades shades = Colors->Chosen();
    SetTagColors(*Edit, *tag, shades.Chosen, shades.Darker, shades.Darkest);
    if (QTreeWidgetItem* node = NodeOf(tag)) {
        node->setIcon(0, TagIcon(*tag));
    }
}

void TTagListDlg::DeleteTag() {
    TTag* tag = SelectedTag();
    if (tag == nullptr || Edit == nullptr) {
        return;
    }
    if (TQuestionBox::Ask(this, QMessageBox::Warning, tr("KAVO warning"),
                          tr("Really delete tag \"%1\"?").arg(ToQString(tag->Name)),
                          QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // Nothing is written into the tag that goes.
    EndCommentEdit(false);
    if (Renamed == tag) {
        Renamed = nullptr;
    }
    kavo::DeleteTag(*Edit, *Case, tag);
    Marks.remove(tag);
    Rebuild(nullptr);
}

bool TTagListDlg::ApplyMarks() {
    TEdit marks;
    for (const auto& tag : Case->TagList) {
        const Qt::CheckState mark = MarkOf(tag.get());
        if (mark != Qt::PartiallyChecked) {
            SetTag(marks, Targets, tag.get(), mark == Qt::Checked);
        }
    }
    const bool marked = !marks.Empty();
    Edit->Absorb(std::move(marks));
    return marked;
}

void TTagListDlg::NameTagEdits(bool marked) {
    // One step for all the window did, whatever its first change was.
    if (marked) {
        Edit->Name = "Tag " + (Targets.size() == 1
                                   ? ShownNameOf(*Targets.front())
                                   : std::to_string(Targets.size()) + " " +
                                         ClassWord(*Targets.front()).toLower().toStdString() + "s");
    } else if (!Edit->Empty()) {
        Edit->Name = "Edit tags";
    }
}

void TTagListDlg::accept() {
    if (Edit != nullptr) {
        RenamePending();
        EndCommentEdit(true);
        NameTagEdits(ApplyMarks());
    }
    QDialog::accept();
}

void TTagListDlg::reject() {
    if (Edit != nullptr) {
        // What was typed in place counts as done; a comment still being written does not.
        RenamePending();
        EndCommentEdit(false);
        NameTagEdits(false);
    }
    QDialog::reject();
}

}  // namespace kavo
