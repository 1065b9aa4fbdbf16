#include "platform/ui/ListRowDelegate.h"

TListRowDelegate::TListRowDelegate(int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

void TListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem shifted = option;
    shifted.rect.adjust(index.data(LevelRole).toInt() * Indent, 0, 0, 0);
    QStyledItemDelegate::paint(painter, shifted, index);
}

QSize TListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const int width = QStyledItemDelegate::sizeHint(option, index).width();
    return {width + index.data(LevelRole).toInt() * Indent, rowHeight_};
}

void TListRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (iconFor_) {
        option->icon = iconFor_(index.data(Qt::DisplayRole).toString());
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = QSize(16, 16);
    }
}
