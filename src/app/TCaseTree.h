#pragma once

#include <QString>
#include <QTreeWidget>

namespace kavo {

class TCase;

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
// applied: the window renames through the case and rebuilds the tree.
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

  signals:
    // The user finished editing a node in place; the node still shows the old text.
    void RenameRequested(kavo::TNodeKind kind, void* object, const QString& text);

  private:
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, TNodeKind kind, void* object,
                             const QString& text);
    void BuildArenas(const TCase& owningCase, QTreeWidgetItem* root);
    void BuildDictionary(const TCase& owningCase, QTreeWidgetItem* root);
    void NodeEdited(QTreeWidgetItem* item, int column);
    static bool IsEditable(TNodeKind kind, const void* object);

    TTreeMode CurrentMode = TTreeMode::tmArenas;
    bool Building = false;
};

}  // namespace kavo
