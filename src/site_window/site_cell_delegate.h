#pragma once

#include <QColor>
#include <QPalette>
#include <QStyledItemDelegate>

namespace quill {

// The colour of a warning in this palette: a red that reads on its base, dark or light.
QColor warningColour(const QPalette &palette);

// Draws a cell with its width against the limit at its right end, in the warning colour
// past the limit, and edits the descriptions in a multi-line editor (Ctrl+Return or
// leaving it commits, Escape cancels).
class SiteCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    // A finding's mark (the model's colour) as a small round icon, sharp at any scale.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;
};

} // namespace quill
