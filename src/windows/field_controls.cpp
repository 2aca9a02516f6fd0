#include "windows/field_controls.h"

#include "document/tag_document.h"
#include "windows/accessible_names.h"
#include "windows/check_box.h"
#include "windows/field_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace quill {
namespace {

constexpr int FieldHeight = 21;

QWidget *createEdit(const FieldDef &def, QWidget *parent)
{
    auto *edit = new FieldEdit(def.limit, parent);
    edit->setText(QString::fromLatin1(def.startText));
    // The form's own menu serves every text control.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

QWidget *createList(const FieldDef &def, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    for (const char *item : def.items)
        list->addItem(QString::fromLatin1(item));
    list->setMaxVisibleItems(8);
    list->setContextMenuPolicy(Qt::NoContextMenu);
    list->setCurrentIndex(def.startIndex);
    return list;
}

QWidget *createCheck(const FieldDef &def, QWidget *parent)
{
    return new CheckBox(QString::fromLatin1(def.label), parent);
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

QWidget *createFieldControl(const FieldDef &def, QWidget *parent)
{
    QWidget *control = nullptr;
    switch (def.kind) {
    case FieldKind::Edit:
        control = createEdit(def, parent);
        break;
    case FieldKind::List:
        control = createList(def, parent);
        break;
    case FieldKind::Check:
        control = createCheck(def, parent);
        break;
    }
    control->setObjectName(QString::fromLatin1(def.control));
    control->setAccessibleName(accessibleFieldName(def));
    // On Linux a list says its chosen item as its name and its label through the label's
    // link, which a list without a label lacks: the description tells what it is.
    if (def.kind == FieldKind::List)
        control->setAccessibleDescription(accessibleFieldName(def));
    if (def.hint)
        control->setToolTip(QString::fromLatin1(def.hint));
    const FieldGeometry &g = def.geometry;
    control->setGeometry(g.left, g.top, g.width, FieldHeight);

    if (def.kind != FieldKind::Check && def.label && g.labelLeft >= 0) {
        QLabel *label = createLabel(def.label, g.labelLeft, g.top + 2, parent);
        label->setBuddy(control);
    }
    return control;
}

} // namespace quill
