#pragma once

#include "document/field_catalogue.h"
#include "document/tag_document.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace quill {

// One line the generator writes into a page's head, with the slot it fills there.
struct SlotLine {
    QString slot;  // as HeadItem::slot names it
    QString line;  // the whole line
    QString value; // what the line holds in that slot (HeadItem::value)
};

// The lines of the page head the generator writes for the document, in its order:
// the title, the two links and the meta block; the frame around them is left out.
QList<SlotLine> generatedHeadLines(const TagDocument &doc);

// Every slot the generator can write, in its order.
const QStringList &managedSlots();

// How the generator fills one slot from fields, read backwards: a value of the slot
// that matches `strict` (or failing that `lenient`: any case, blanks optional) gives
// each field of `fields` the text of its capture group. `checked` are the check boxes
// the form needs checked. A slot may have several forms; the first that fits counts.
struct SlotForm {
    QString slot;
    QRegularExpression strict;
    QRegularExpression lenient;
    QList<Field> fields;
    QList<Field> checked;
    QString shape; // the form for messages: fields by their keys in braces
};

// The forms of every slot, derived from the generator itself.
const QList<SlotForm> &slotForms();

} // namespace quill
