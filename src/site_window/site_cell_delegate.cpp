#include "site_window/site_cell_delegate.h"

#include "site/site_columns.h"
#include "site_window/site_model.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace quill {
namespace {

bool multiLine(const QModelIndex &index)
{
    const auto column = SiteColumn(index.column());
    return column == SiteColumn::Description || column == SiteColumn::OgDescription ||
           column == SiteColumn::TwitterDescription;
}

// The gap between a cell's text and its width.
constexpr int WidthGap = 8;

// The mark's size in device-independent pixels.
constexpr int MarkSize = 10;

QIcon markIcon(const QColor &colour)
{
    static QHash<QRgb, QIcon> icons;
    QIcon &icon = icons[colour.rgba()];
    if (icon.isNull()) {
        for (const int scale : {1, 2, 3}) {
            QPixmap pixmap(MarkSize * scale, MarkSize * scale);
            pixmap.setDevicePixelRatio(scale);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QRectF(1, 1, MarkSize - 2, MarkSize - 2));
            painter.end();
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}

} // namespace

void SiteCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant mark = index.data(Qt::DecorationRole);
    if (mark.typeId() == QMetaType::QColor) {
        option->icon = markIcon(mark.value<QColor>());
        option->decorationSize = QSize(MarkSize, MarkSize);
    }
}

QColor warningColour(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() < 128 ? QColor(255, 118, 106)
                                                           : QColor(190, 32, 16);
}

void SiteCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const QString width = index.data(SiteModel::WidthTextRole).toString();
    if (width.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool past = index.data(SiteModel::PastLimitRole).toBool();
    QFont font = option.font;
    font.setBold(past);
    const int widthSpace = QFontMetrics(font).horizontalAdvance(width) + WidthGap;
    // The whole cell's background, selection and focus first; then the text, which gives
    // way to the width, so the width stays whole.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    QStyleOptionViewItem text = option;
    text.rect.setRight(option.rect.right() - widthSpace);
    text.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, text, index);

    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                    : past   ? warningColour(option.palette)
                             : option.palette.color(QPalette::PlaceholderText));
    painter->drawText(option.rect.adjusted(0, 0, -WidthGap / 2, 0),
                      Qt::AlignRight | Qt::AlignVCenter, width);
    painter->restore();
}

QSize SiteCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString width = index.data(SiteModel::WidthTextRole).toString();
    if (!width.isEmpty())
        size.rwidth() += option.fontMetrics.horizontalAdvance(width) + WidthGap;
    return size;
}

QWidget *SiteCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (!multiLine(index))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *editor = new QPlainTextEdit(parent);
    editor->setTabChangesFocus(true);
    editor->setAccessibleName(
        tr("%1 of %2")
            .arg(index.model()->headerData(index.column(), Qt::Horizontal).toString(),
                 index.siblingAtColumn(int(SiteColumn::Page)).data().toString()));
    editor->installEventFilter(const_cast<SiteCellDelegate *>(this));
    return editor;
}

void SiteCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *text = qobject_cast<QPlainTextEdit *>(editor)) {
        text->setPlainText(index.data(Qt::EditRole).toString());
        text->selectAll();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void SiteCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    if (auto *text = qobject_cast<QPlainTextEdit *>(editor)) {
        model->setData(index, text->toPlainText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void SiteCellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    if (!qobject_cast<QPlainTextEdit *>(editor)) {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        return;
    }
    // Room for a few lines below the cell's top, within the view.
    QRect rect = option.rect;
    rect.setHeight(std::max(rect.height(), option.fontMetrics.lineSpacing() * 5 + 8));
    rect.setWidth(std::max(rect.width(), option.fontMetrics.averageCharWidth() * 40));
    if (const QWidget *view = editor->parentWidget())
        rect.moveBottom(std::min(rect.bottom(), view->rect().bottom()));
    editor->setGeometry(rect);
}

bool SiteCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QPlainTextEdit *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace quill
