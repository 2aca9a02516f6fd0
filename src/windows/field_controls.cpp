#include "windows/field_controls.h"

#include "document/tag_document.h"
#include "windows/field_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace quill {
namespace {

constexpr int FieldHeight = 21;

QWidget *createEdit(const FieldSpec &spec, QWidget *parent)
{
    auto *edit = new FieldEdit(spec.limit, parent);
    edit->setText(QString::fromLatin1(spec.startText));
    // The form's own menu serves every text control.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

QWidget *createList(const FieldSpec &spec, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    for (const char *item : spec.items)
        list->addItem(QString::fromLatin1(item));
    list->setMaxVisibleItems(8);
    list->setContextMenuPolicy(Qt::NoContextMenu);
    list->setCurrentIndex(spec.startIndex);
    return list;
}

QWidget *createCheck(const FieldSpec &spec, QWidget *parent)
{
    return new QCheckBox(QString::fromLatin1(spec.label), parent);
}

} // namespace

QLabel *createLabel(const char *text, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QLabel *fieldLabel(const QWidget *control)
{
    if (!control->parentWidget())
        return nullptr;
    const auto labels = control->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        if (label->buddy() == control)
            return label;
    }
    return nullptr;
}

QWidget *createFieldControl(const FieldSpec &spec, QWidget *parent)
{
    QWidget *control = nullptr;
    switch (spec.kind) {
    case FieldKind::Edit:
        control = createEdit(spec, parent);
        break;
    case FieldKind::List:
        control = createList(spec, parent);
        break;
    case FieldKind::Check:
        control = createCheck(spec, parent);
        break;
    }
    control->setObjectName(QString::fromLatin1(spec.control));
    if (spec.hint)
        control->setToolTip(QString::fromLatin1(spec.hint));
    const FieldGeometry &g = spec.geometry;
    control->setGeometry(g.left, g.top, g.width, FieldHeight);

    if (spec.kind != FieldKind::Check && spec.label && g.labelLeft >= 0) {
        QLabel *label = createLabel(spec.label, g.labelLeft, g.top + 2, parent);
        label->setBuddy(control);
    }
    return control;
}

} // namespace quill
