#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace kavo::test {

// The tree as indented lines of node texts, two blanks per level.
inline QStringList TreeLines(const QTreeWidget& tree) {
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        lines << QString(depth * 2, QLatin1Char(' ')) + (*it)->text(0);
    }
    return lines;
}

// The node at a path of node texts below the root, such as "Irrigation/Farmers"; null when none.
inline QTreeWidgetItem* NodeByPath(const QTreeWidget& tree, const QString& path) {
    QTreeWidgetItem* node = tree.topLevelItem(0);
    for (const QString& step : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; node != nullptr && i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == step) {
                next = node->child(i);
            }
        }
        node = next;
    }
    return node;
}

}  // namespace kavo::test
