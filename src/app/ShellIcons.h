#pragma once

#include <QIcon>
#include <QPixmap>

namespace kavo {

class TConcept;

// The pictures of the case window: one per kind of tree node and one per tool button.
enum class TShellIcon {
    siCase,
    siArena,
    siAnalystView,
    siActor,
    siFactor,
    siStockFactor,
    siAttribute,
    siStockAttribute,
    siAction,
    siTreeType,
    siAddArena,
    siAddActor,
    siTag,
    siDelete,
    siInfo,
    siEditComment,
    siAccept,
    siCancel,
    siCursor,
    siLink,
    siAddFactor,
    siAddAttribute,
    siAddAction,
    siGoal,
    siProspect,
    siClearGoals,
    siSelectTag,
    siCut,
    siCopy,
    siPaste,
    siLayout,
    siDefineGroups,
    siConfigureAnalysis,
    siAnalyze,
    siSaveReport,
    siPrint,
    siBrowser,
    siCancelAnalysis,
};

// A 16 x 16 picture drawn for the kind.
QIcon ShellIcon(TShellIcon kind);

inline constexpr int kTreeIconWidth = 34;
inline constexpr int kTreeIconHeight = 16;

// The picture of a tree node: the item's tag marker (its tags in stripes, or an empty dotted
// outline) left of the kind's picture. Without a item the marker's place stays empty.
QPixmap TreeNodePicture(TShellIcon kind, const TConcept* item);

}  // namespace kavo
