#pragma once
// Draws the rows of the directory and file lists: a fixed row height, and
// each row stepped in by the level it carries (LevelRole), so a path reads
// as a tree.
#include <QStyledItemDelegate>

class TListRowDelegate : public QStyledItemDelegate {
public:
    static constexpr int LevelRole = Qt::UserRole + 1;
    static constexpr int Indent = 7; // pixels a level steps in

    TListRowDelegate(int rowHeight, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_;
};
