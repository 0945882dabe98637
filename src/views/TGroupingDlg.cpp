#include "views/TGroupingDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "diagram/TagIcon.h"
#include "editing/CaseEdits.h"
#include "editing/GroupingEdits.h"
#include "editing/TEdit.h"
#include "model/Names.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

// The tree holds groups as root nodes, each with one child that shows its tag set.
constexpr int kGroupRole = Qt::UserRole;
// The rename of a group reaches the tree again only after the editor has closed.
constexpr int kRebuildAfterRename = 30;

QIcon TagSetIcon(const std::vector<TTag*>& tags) {
    return DrawnIcon(QSize(kTagIconSize, kTagIconSize),
                     [&tags](TCanvas& canvas) { DrawConceptTagIcon(canvas, tags); });
}

}  // namespace

TGroupingDlg::TGroupingDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("groupingDialog"));
    setWindowTitle(tr("Grouping for analysis"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(400, 380);

    TabBar = new QTabBar(this);
    TabBar->addTab(tr("Arena groups"));
    TabBar->addTab(tr("Actor groups"));
    TabBar->addTab(tr("Factor groups"));
    TabBar->setUsesScrollButtons(false);

    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    const auto addButton = [&](QStyle::StandardPixmap icon, const QString& hint) {
        auto* button = new QToolButton(bar);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(hint);
        bar->addWidget(button);
        return button;
    };
    AddBtn = addButton(QStyle::SP_FileDialogNewFolder, tr("Add new group"));
    TagBtn = addButton(QStyle::SP_FileDialogDetailedView, tr("Change tag selection"));
    DeleteBtn = addButton(QStyle::SP_TrashIcon, tr("Delete group"));

    Modes = new QComboBox(this);
    Modes->setToolTip(tr("How the analyses combine the concepts of this kind"));
    MentionedBox = new QCheckBox(tr("mentioned factors only"), this);

    Tree = new QTreeWidget(this);
    Tree->setHeaderHidden(true);
    Tree->setItemsExpandable(false);
    Tree->setRootIsDecorated(false);
    Tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::SelectedClicked);

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(bar);
    modeRow->addWidget(Modes, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(TabBar);
    layout->addLayout(modeRow);
    layout->addWidget(MentionedBox);
    layout->addWidget(Tree, 1);

    connect(TabBar, &QTabBar::currentChanged, this, &TGroupingDlg::Rebuild);
    connect(Modes, &QComboBox::currentIndexChanged, this, &TGroupingDlg::ModeChosen);
    connect(MentionedBox, &QCheckBox::toggled, this, &TGroupingDlg::MentionedOnlyToggled);
    connect(Tree, &QTreeWidget::itemChanged, this, &TGroupingDlg::NodeChanged);
    connect(Tree, &QTreeWidget::itemClicked, this, &TGroupingDlg::NodeClicked);
    connect(Tree, &QTreeWidget::itemSelectionChanged, this, &TGroupingDlg::SelectionChanged);
    // Nodes never collapse.
    connect(Tree, &QTreeWidget::itemCollapsed, this,
            [](QTreeWidgetItem* node) { node->setExpanded(true); });
    connect(AddBtn, &QToolButton::clicked, this, &TGroupingDlg::AddGroup);
    connect(TagBtn, &QToolButton::clicked, this, &TGroupingDlg::ChangeTags);
    connect(DeleteBtn, &QToolButton::clicked, this, &TGroupingDlg::DeleteGroup);
    Pending.setSingleShot(true);
    Pending.setInterval(0);
    connect(&Pending, &QTimer::timeout, this, &TGroupingDlg::Rebuild);
    Rebuild();
}

TGroupingDlg::~TGroupingDlg() = default;

void TGroupingDlg::SetCase(TCase* owningCase, TPerform perform) {
    Case = owningCase;
    Perform = std::move(perform);
    Rebuild();
}

void TGroupingDlg::ShowBeside(const QWidget& window) {
    if (!Placed) {
        Placed = true;
        const QPoint corner = window.mapToGlobal(QPoint(window.width(), 0));
        move(corner.x() + 8, corner.y());
    }
    show();
    raise();
}

TGroupKind TGroupingDlg::TabKind() const {
    return static_cast<TGroupKind>(std::max(TabBar->currentIndex(), 0));
}

void TGroupingDlg::RebuildSoon() {
    Pending.start();
}

void TGroupingDlg::Rebuild() {
    Pending.stop();
    const TGroup* selected = SelectedGroup();
    Filling = true;
    const TGroupKind kind = TabKind();
    TagBtn->setEnabled(false);
    DeleteBtn->setEnabled(false);
    AddBtn->setEnabled(Case != nullptr);
    Tree->clear();
    Modes->clear();
    const QStringList modes{tr("total aggregation"), tr("aggregate by group"),
                            tr("cluster by group"), tr("no grouping")};
    int mode = 0;
    switch (kind) {
        case TGroupKind::gkArena:
            Modes->addItems(modes);
            Modes->addItem(tr("selected arena only"));
            mode = Case != nullptr ? Case->ArenaGrouping : 4;
            break;
        case TGroupKind::gkActor:
            Modes->addItems(modes);
            Modes->addItem(tr("selected actor only"));
            Modes->addItem(tr("analysts view(s)"));
            mode = Case != nullptr ? Case->ActorGrouping : 4;
            break;
        case TGroupKind::gkFactor:
            Modes->addItems(modes);
            mode = Case != nullptr ? Case->FactorGrouping : 3;
            break;
    }
    // A stored mode that the dimension does not offer counts as total aggregation.
    Modes->setCurrentIndex(mode < Modes->count() ? mode : 0);
    Modes->setEnabled(Case != nullptr);
    MentionedBox->setVisible(kind == TGroupKind::gkFactor);
    MentionedBox->setChecked(Case == nullptr || Case->MentionedOnly);
    MentionedBox->setEnabled(Case != nullptr);
    const int shownMode = Modes->currentIndex();
    Tree->setEnabled(Case != nullptr && (shownMode == 1 || shownMode == 2));
    if (Case != nullptr) {
        for (const auto& group : Case->GroupList) {
            if (group->GroupKind != kind) {
                continue;
            }
            auto* node = new QTreeWidgetItem(Tree, {ToQString(group->Name)});
            node->setData(0, kGroupRole, QVariant::fromValue<void*>(group.get()));
            node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
            node->setCheckState(0, group->Checked ? Qt::Checked : Qt::Unchecked);
            node->setIcon(0, TagSetIcon(group->Tags));
            auto* tags = new QTreeWidgetItem(node, {ToQString(group->TagSetDescription())});
            tags->setFlags(tags->flags() & ~Qt::ItemIsEditable);
        }
        Tree->expandAll();
    }
    Filling = false;
    if (selected != nullptr) {
        SelectGroup(selected);
    }
    SelectionChanged();
}

TGroup* TGroupingDlg::SelectedGroup() const {
    QTreeWidgetItem* node = Tree->currentItem();
    if (node == nullptr || !node->isSelected()) {
        return nullptr;
    }
    if (node->parent() != nullptr) {
        node = node->parent();
    }
    return static_cast<TGroup*>(node->data(0, kGroupRole).value<void*>());
}

void TGroupingDlg::SelectGroup(const TGroup* group) {
    for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = Tree->topLevelItem(i);
        if (node->data(0, kGroupRole).value<void*>() == group) {
            Tree->setCurrentItem(node);
            return;
        }
    }
}

void TGroupingDlg::SelectionChanged() {
    const bool selected = SelectedGroup() != nullptr;
    TagBtn->setEnabled(selected);
    DeleteBtn->setEnabled(selected);
}

bool TGroupingDlg::Apply(TEdit edit) {
    if (Case == nullptr || !Perform) {
        edit.Undo();
        return false;
    }
    return Perform(std::move(edit));
}

void TGroupingDlg::ModeChosen(int index) {
    if (Filling || Case == nullptr || index < 0) {
        return;
    }
    TEdit edit;
    SetGroupingMode(edit, *Case, TabKind(), static_cast<std::uint8_t>(index));
    Apply(std::move(edit));
    // Refused, the old mode shows again.
    RebuildSoon();
}

void TGroupingDlg::MentionedOnlyToggled(bool checked) {
    if (Filling || Case == nullptr) {
        return;
    }
    TEdit edit;
    SetMentionedOnly(edit, *Case, checked);
    Apply(std::move(edit));
    RebuildSoon();
}

void TGroupingDlg::NodeChanged(QTreeWidgetItem* node, int) {
    if (Filling || Case == nullptr || node->parent() != nullptr) {
        return;
    }
    auto* group = static_cast<TGroup*>(node->data(0, kGroupRole).value<void*>());
    const bool checked = node->checkState(0) == Qt::Checked;
    if (checked != group->Checked) {
        TEdit edit;
        SetGroupChecked(edit, *group, checked);
        Apply(std::move(edit));
        // The node that changed may not go while it tells of its change.
        RebuildSoon();
        return;
    }
    const std::string name = Trim(node->text(0).toStdString());
    if (name == group->Name) {
        return;
    }
    if (!name.empty()) {
        TEdit edit;
        if (RenameGroup(edit, *Case, *group, name)) {
            Apply(std::move(edit));
        } else {
            edit.Undo();
        }
    }
    // An empty or refused name shows the old one again.
    Pending.stop();
    QTimer::singleShot(kRebuildAfterRename, this, [this, group] {
        Rebuild();
        SelectGroup(group);
    });
}

void TGroupingDlg::NodeClicked(QTreeWidgetItem* node, int) {
    // A click on a group's tag icon changes its tags.
    if (node == nullptr || node->parent() != nullptr) {
        return;
    }
    const QRect rect = Tree->visualItemRect(node);
    const QPoint at = Tree->viewport()->mapFromGlobal(QCursor::pos());
    const int checkWidth = Tree->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    const int iconLeft = rect.left() + checkWidth + 4;
    if (at.x() >= iconLeft && at.x() < iconLeft + kTagIconSize + 4 && rect.contains(at)) {
        ChangeTags();
    }
}

void TGroupingDlg::AddGroup() {
    if (Case == nullptr) {
        return;
    }
    TEdit edit;
    TGroup* group = kavo::AddGroup(edit, *Case, TabKind());
    if (group == nullptr || !Apply(std::move(edit))) {
        return;
    }
    Rebuild();
    SelectGroup(group);
}

void TGroupingDlg::ChangeTags() {
    TGroup* group = SelectedGroup();
    if (Case == nullptr || group == nullptr) {
        return;
    }
    TEdit edit;
    const std::optional<std::vector<TTag*>> tags =
        ChooseTags ? ChooseTags(edit, *Case, *group) : ChooseFromList(*Case, *group);
    if (tags) {
        SetGroupTags(edit, *Case, *group, *tags);
    }
    Apply(std::move(edit));
    Rebuild();
    SelectGroup(group);
}

void TGroupingDlg::DeleteGroup() {
    TGroup* group = SelectedGroup();
    if (Case == nullptr || group == nullptr) {
        return;
    }
    QMessageBox box(QMessageBox::Warning, tr("KAVO warning"),
                    tr("Really delete group \"%1\"?").arg(ToQString(group->Name)),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
        return;
    }
    TEdit edit;
    kavo::DeleteGroup(edit, *Case, group);
    Apply(std::move(edit));
    Rebuild();
}

std::optional<std::vector<TTag*>> TGroupingDlg::ChooseFromList(TCase& owningCase,
                                                               const TGroup& group) {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("groupTagsDialog"));
    dialog.setWindowTitle(tr("Tags of group \"%1\"").arg(ToQString(group.Name)));
    auto* list = new QListWidget(&dialog);
    for (const auto& tag : owningCase.TagList) {
        auto* item = new QListWidgetItem(TagSetIcon({tag.get()}), ToQString(tag->Name), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(group.HasTag(tag.get()) ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(owningCase.TagList.Size() > 0
                                     ? tr("The group gathers what carries any of these tags:")
                                     : tr("The case has no tags yet."),
                                 &dialog));
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<TTag*> chosen;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            chosen.push_back(owningCase.TagList[i]);
        }
    }
    return chosen;
}

}  // namespace kavo
