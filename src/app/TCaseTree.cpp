#include "app/TCaseTree.h"

#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "app/ShellIcons.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;

const QString kAnalystViewText = QStringLiteral("*Analyst view");
// A dragged node: the process, the node's kind and its object.
const QString kNodeFormat = QStringLiteral("application/x-kavo-tree-node");
constexpr int kDragScrollMargin = 10;

bool IsFactorKind(TNodeKind kind) {
    return kind == TNodeKind::nkFactor || kind == TNodeKind::nkAttribute ||
           kind == TNodeKind::nkAction;
}

// Factors show "_" as a blank; the in-place editor offers the name as stored, so that a rename
// edits exactly what the case holds.
class TStoredNameDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(index.data(kNameRole).toString());
        } else {
            QStyledItemDelegate::setEditorData(editor, index);
        }
    }
};

TShellIcon IconOf(TNodeKind kind, const void* object) {
    switch (kind) {
        case TNodeKind::nkCase:
            return TShellIcon::siCase;
        case TNodeKind::nkArena:
            return TShellIcon::siArena;
        case TNodeKind::nkAnalystView:
            return TShellIcon::siAnalystView;
        case TNodeKind::nkAiA:
        case TNodeKind::nkActor:
            return TShellIcon::siActor;
        case TNodeKind::nkFactor:
            return static_cast<const TFactor*>(object)->IsStock ? TShellIcon::siStockFactor
                                                                : TShellIcon::siFactor;
        case TNodeKind::nkAttribute:
            return static_cast<const TFactor*>(object)->IsStock ? TShellIcon::siStockAttribute
                                                                : TShellIcon::siAttribute;
        case TNodeKind::nkAction:
            return TShellIcon::siAction;
    }
    return TShellIcon::siFactor;
}

// The concept whose tags the node's marker shows; null for nodes without a marker.
const TConcept* TaggedConcept(TNodeKind kind, void* object) {
    switch (kind) {
        case TNodeKind::nkCase:
        case TNodeKind::nkAnalystView:
            return nullptr;
        case TNodeKind::nkAiA:
            return static_cast<TAiA*>(object)->Actor;
        case TNodeKind::nkArena:
            return static_cast<TArena*>(object);
        case TNodeKind::nkActor:
            return static_cast<TActor*>(object);
        case TNodeKind::nkFactor:
        case TNodeKind::nkAttribute:
        case TNodeKind::nkAction:
            return static_cast<TFactor*>(object);
    }
    return nullptr;
}

std::vector<TFactor*> SortedByName(std::vector<TFactor*> factors) {
    std::stable_sort(factors.begin(), factors.end(), [](const TFactor* a, const TFactor* b) {
        return CompareNames(a->Name, b->Name) < 0;
    });
    return factors;
}

bool IsRoundArena(const TArena& arena) {
    return arena.Name.starts_with("*Round");
}

}  // namespace

TCaseTree::TCaseTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("caseTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(kTreeIconWidth, kTreeIconHeight));
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setItemDelegate(new TStoredNameDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemChanged, this, &TCaseTree::NodeEdited);
    // Dropping changes the case, never the tree itself: the drop is a copy, so that the dragged
    // node stays where it is, and the window rebuilds the tree.
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);
    // A drag near the upper or lower edge scrolls by one node for each move (dragMoveEvent).
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

QTreeWidgetItem* TCaseTree::AddNode(QTreeWidgetItem* parent, TNodeKind kind, void* object,
                                    const QString& text) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, ShownText(kind, text));
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    item->setData(0, kNameRole, text);
    item->setIcon(0, QIcon(TreeNodePicture(IconOf(kind, object), TaggedConcept(kind, object))));
    Qt::ItemFlags flags = item->flags() & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (IsEditable(kind, object)) {
        flags |= Qt::ItemIsEditable;
    }
    if (IsFactorKind(kind)) {
        flags |= Qt::ItemIsDragEnabled;
    }
    item->setFlags(flags);
    return item;
}

void TCaseTree::Build(const TCase& owningCase, TTreeMode mode) {
    Building = true;
    CurrentMode = mode;
    clear();
    QTreeWidgetItem* root = AddNode(nullptr, TNodeKind::nkCase, const_cast<TCase*>(&owningCase),
                                    ToQString(owningCase.Name));
    if (mode == TTreeMode::tmArenas) {
        BuildArenas(owningCase, root);
    } else {
        BuildDictionary(owningCase, root);
    }
    expandAll();
    Building = false;
    setCurrentItem(root);
    scrollToTop();
    setFocus();
}

void TCaseTree::BuildArenas(const TCase& owningCase, QTreeWidgetItem* root) {
    for (const auto& arena : owningCase.ArenaList) {
        QTreeWidgetItem* arenaNode =
            AddNode(root, TNodeKind::nkArena, arena.get(), ToQString(arena->Name));
        AddNode(arenaNode, TNodeKind::nkAnalystView, nullptr, kAnalystViewText);
        std::vector<TAiA*> records;
        for (const auto& record : arena->Actors) {
            records.push_back(record.get());
        }
        // Round arenas list their actors in the order in which they act.
        const bool byPriority = IsRoundArena(*arena);
        std::stable_sort(records.begin(), records.end(), [byPriority](TAiA* a, TAiA* b) {
            return byPriority ? a->Priority < b->Priority
                              : CompareNames(a->Actor->Name, b->Actor->Name) < 0;
        });
        for (TAiA* record : records) {
            AddNode(arenaNode, TNodeKind::nkAiA, record, ToQString(record->Actor->Name));
        }
    }
}

void TCaseTree::BuildDictionary(const TCase& owningCase, QTreeWidgetItem* root) {
    for (const auto& factor : owningCase.FactorList) {
        if (factor->Owner == nullptr) {
            AddNode(root, TNodeKind::nkFactor, factor.get(), ToQString(factor->Name));
        }
    }
    for (const auto& actor : owningCase.ActorList) {
        QTreeWidgetItem* actorNode =
            AddNode(root, TNodeKind::nkActor, actor.get(), ToQString(actor->Name));
        for (TFactor* attribute : SortedByName(actor->Attributes)) {
            AddNode(actorNode, TNodeKind::nkAttribute, attribute,
                    ToQString(BareName(attribute->Name)));
        }
        for (TFactor* action : SortedByName(actor->Actions)) {
            AddNode(actorNode, TNodeKind::nkAction, action, ToQString(BareName(action->Name)));
        }
    }
}

QString TCaseTree::ShownText(TNodeKind kind, const QString& stored) {
    return IsFactorKind(kind) ? ToQString(ShownName(stored.toStdString())) : stored;
}

TNodeKind TCaseTree::KindOf(const QTreeWidgetItem* item) {
    return static_cast<TNodeKind>(item->data(0, kKindRole).toInt());
}

void* TCaseTree::ObjectOf(const QTreeWidgetItem* item) {
    return reinterpret_cast<void*>(item->data(0, kObjectRole).value<quintptr>());
}

QTreeWidgetItem* TCaseTree::FindNode(TNodeKind kind, const void* object) const {
    for (QTreeWidgetItemIterator it(const_cast<TCaseTree*>(this)); *it != nullptr; ++it) {
        QTreeWidgetItem* item = *it;
        if (KindOf(item) != kind) {
            continue;
        }
        const bool analystViewOf = kind == TNodeKind::nkAnalystView && item->parent() != nullptr &&
                                   ObjectOf(item->parent()) == object;
        if (ObjectOf(item) == object || analystViewOf) {
            return item;
        }
    }
    return nullptr;
}

bool TCaseTree::SelectNode(TNodeKind kind, const void* object) {
    QTreeWidgetItem* item = FindNode(kind, object);
    if (item == nullptr) {
        return false;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

bool TCaseTree::IsEditable(TNodeKind kind, const void* object) {
    switch (kind) {
        case TNodeKind::nkAnalystView:
            return false;
        case TNodeKind::nkArena:
            // Round arenas are named by the simulation, which finds them by their names.
            return !IsRoundArena(*static_cast<const TArena*>(object));
        default:
            return true;
    }
}

bool TCaseTree::EditSelected() {
    QTreeWidgetItem* item = currentItem();
    if (item == nullptr || !(item->flags() & Qt::ItemIsEditable)) {
        return false;
    }
    editItem(item, 0);
    return true;
}

bool TCaseTree::OnTagMarker(QPoint at) const {
    QTreeWidgetItem* node = itemAt(at);
    if (node == nullptr || TaggedConcept(KindOf(node), ObjectOf(node)) == nullptr) {
        return false;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(node);
    option.features |= QStyleOptionViewItem::HasDecoration;
    option.decorationSize = iconSize();
    const QRect icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    // The marker fills the icon's left part, before the picture of the node's kind.
    return at.x() >= icon.left() && at.x() < icon.left() + kTreeIconWidth - 16;
}

void TCaseTree::NodeEdited(QTreeWidgetItem* item, int) {
    if (Building) {
        return;
    }
    const QString text = item->text(0);
    const QString stored = item->data(0, kNameRole).toString();
    const QString shown = ShownText(KindOf(item), stored);
    if (text == shown) {
        return;
    }
    Building = true;
    item->setText(0, shown);
    Building = false;
    if (text == stored) {
        return;
    }
    // The window rebuilds the tree on a rename, which must wait until the editor has let go of the
    // node.
    const TNodeKind kind = KindOf(item);
    void* object = ObjectOf(item);
    QTimer::singleShot(0, this,
                       [this, kind, object, text] { emit RenameRequested(kind, object, text); });
}

QMimeData* TCaseTree::NodeDragData(const QTreeWidgetItem* node) const {
    auto* data = new QMimeData;
    if (node != nullptr) {
        data->setData(kNodeFormat, QStringLiteral("%1 %2 %3")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(static_cast<int>(KindOf(node)))
                                       .arg(reinterpret_cast<quintptr>(ObjectOf(node)))
                                       .toLatin1());
    }
    return data;
}

QStringList TCaseTree::mimeTypes() const {
    return {kNodeFormat};
}

QMimeData* TCaseTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    return NodeDragData(items.value(0));
}

Qt::DropActions TCaseTree::supportedDropActions() const {
    return Qt::CopyAction;
}

std::pair<QTreeWidgetItem*, QTreeWidgetItem*> TCaseTree::DropPair(const QMimeData* data,
                                                                  QPoint at) const {
    if (CurrentMode != TTreeMode::tmDictionary || data == nullptr ||
        !data->hasFormat(kNodeFormat)) {
        return {};
    }
    const QStringList parts = QString::fromLatin1(data->data(kNodeFormat)).split(QLatin1Char(' '));
    if (parts.size() != 3 || parts[0].toLongLong() != QCoreApplication::applicationPid()) {
        return {};
    }
    // The object is only compared with the nodes' objects, never followed, until a node of the
    // tree shows it.
    const auto kind = static_cast<TNodeKind>(parts[1].toInt());
    const auto* object = reinterpret_cast<const void*>(parts[2].toULongLong());
    QTreeWidgetItem* dragged = IsFactorKind(kind) ? FindNode(kind, object) : nullptr;
    QTreeWidgetItem* target = itemAt(at);
    if (dragged == nullptr || target == nullptr || target == dragged) {
        return {};
    }
    const TNodeKind targetKind = KindOf(target);
    const auto* factor = ObjectAs<TFactor>(dragged);
    const bool onFactor = IsFactorKind(targetKind);
    const bool onOtherActor = targetKind == TNodeKind::nkActor && factor->Owner != nullptr &&
                              static_cast<const void*>(factor->Owner) != ObjectOf(target);
    if (!onFactor && !onOtherActor) {
        return {};
    }
    return {dragged, target};
}

void TCaseTree::dragEnterEvent(QDragEnterEvent* event) {
    QTreeWidget::dragEnterEvent(event);
    if (CurrentMode == TTreeMode::tmDictionary && event->mimeData()->hasFormat(kNodeFormat)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TCaseTree::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event);
    const int y = event->position().toPoint().y();
    QScrollBar* bar = verticalScrollBar();
    if (y < kDragScrollMargin) {
        bar->setValue(bar->value() - 1);
    } else if (y > viewport()->height() - kDragScrollMargin) {
        bar->setValue(bar->value() + 1);
    }
    if (DropPair(event->mimeData(), event->position().toPoint()).first != nullptr) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TCaseTree::dropEvent(QDropEvent* event) {
    setState(QAbstractItemView::NoState);
    const auto [dragged, target] = DropPair(event->mimeData(), event->position().toPoint());
    if (dragged == nullptr) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const TNodeKind draggedKind = KindOf(dragged);
    const TNodeKind targetKind = KindOf(target);
    void* factor = ObjectOf(dragged);
    void* object = ObjectOf(target);
    // The window asks and rebuilds the tree once the drag has ended.
    QTimer::singleShot(0, this, [this, draggedKind, factor, targetKind, object] {
        if (FindNode(draggedKind, factor) != nullptr && FindNode(targetKind, object) != nullptr) {
            emit FactorDropped(static_cast<TFactor*>(factor), targetKind, object);
        }
    });
}

}  // namespace kavo
