#pragma once

#include <QString>
#include <QTreeWidget>
#include <utility>

namespace kavo {

class TCase;
class TFactor;

// What a node of the case tree stands for.
enum class TNodeKind {
    nkCase,
    nkArena,
    nkAnalystView,
    nkAiA,
    nkFactor,
    nkActor,
    nkAttribute,
    nkAction,
};

// The two ways the tree shows a case.
enum class TTreeMode { tmArenas, tmDictionary };

// The case tree of a case window: the arenas with their analyst views and actors, or the
// dictionary of factors and actors with the actors' attributes and actions. Every node carries its
// kind and the object it stands for (null for an analyst view). In-place edits are reported, not
// applied: the window renames through the case and rebuilds the tree. In the dictionary a factor,
// attribute or action can be dragged onto another one or onto an actor; the drop is reported too.
class TCaseTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit TCaseTree(QWidget* parent = nullptr);

    // Removes every node and shows the case in the mode, fully expanded, with the root selected.
    void Build(const TCase& owningCase, TTreeMode mode);
    TTreeMode Mode() const { return CurrentMode; }

    static TNodeKind KindOf(const QTreeWidgetItem* item);
    // The object of the node: a TCase, TArena, TAiA, TActor or TFactor; null for an analyst view.
    static void* ObjectOf(const QTreeWidgetItem* item);
    template <typename T>
    static T* ObjectAs(const QTreeWidgetItem* item) {
        return static_cast<T*>(ObjectOf(item));
    }

    // The node of the object, searched in tree order; null when none shows it.
    QTreeWidgetItem* FindNode(TNodeKind kind, const void* object) const;
    // Selects the node of the object when there is one; the analyst view is found by its arena.
    bool SelectNode(TNodeKind kind, const void* object);
    QTreeWidgetItem* SelectedNode() const { return currentItem(); }

    // Starts editing the selected node in place when its kind allows it; false otherwise.
    bool EditSelected();
    // Whether the point (of the viewport) lies on the tag marker of the node under it.
    bool OnTagMarker(QPoint at) const;

    // What a drag of the node carries: which node it is, for a drop on this tree only.
    QMimeData* NodeDragData(const QTreeWidgetItem* node) const;

  signals:
    // The user finished editing a node in place; the node still shows the old text.
    void RenameRequested(kavo::TNodeKind kind, void* object, const QString& text);
    // A factor, attribute or action was dropped on another one (targetKind nkFactor, nkAttribute
    // or nkAction), or an attribute or action on an actor other than its own (nkActor). Both are
    // nodes of the tree when the signal comes.
    void FactorDropped(kavo::TFactor* factor, kavo::TNodeKind targetKind, void* target);

  protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, TNodeKind kind, void* object,
                             const QString& text);
    void BuildArenas(const TCase& owningCase, QTreeWidgetItem* root);
    void BuildDictionary(const TCase& owningCase, QTreeWidgetItem* root);
    void NodeEdited(QTreeWidgetItem* item, int column);
    // The text a node shows for a stored name (the name itself, or for a factor its shown name).
    static QString ShownText(TNodeKind kind, const QString& stored);
    static bool IsEditable(TNodeKind kind, const void* object);
    // The dragged factor's node and the node under the point, when the one may be dropped on the
    // other; nulls otherwise.
    std::pair<QTreeWidgetItem*, QTreeWidgetItem*> DropPair(const QMimeData* data, QPoint at) const;

    TTreeMode CurrentMode = TTreeMode::tmArenas;
    bool Building = false;
};

}  // namespace kavo
