#pragma once
// Draws the rows of the directory and file lists: a fixed row height, and
// each row stepped in by the level it carries (LevelRole), so a path reads
// as a tree. A list of thousands of rows can leave the icons to the delegate
// (IconFor), so its items carry text only and are added in one go.
#include <QIcon>
#include <QStyledItemDelegate>
#include <functional>

class TListRowDelegate : public QStyledItemDelegate {
public:
    static constexpr int LevelRole = Qt::UserRole + 1;
    // The name a row stands for as the program spells it; its text is only
    // how a widget shows it (a character without a form as "?").
    static constexpr int NameRole = Qt::UserRole + 2;
    static constexpr int Indent = 7; // pixels a level steps in

    TListRowDelegate(int rowHeight, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The picture of a row, chosen from its text.
    void SetIconFor(std::function<QIcon(const QString& text)> iconFor) {
        iconFor_ = std::move(iconFor);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int rowHeight_;
    std::function<QIcon(const QString&)> iconFor_;
};
