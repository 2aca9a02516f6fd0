#pragma once

#include "document/tag_document.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The Preferences dialog. It holds the generation mode and the three page-head
// texts, which belong to the tag document and are read by the generator.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

    quill::GenerationMode mode() const;
    // The edit of a page-head field (PageTitle, ExternalCss, FaviconUrl).
    QLineEdit *pageHeadEdit(quill::Field field) const;

    QGroupBox *GroupBox2;
    QGroupBox *GroupBox3;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;

signals:
    // A page-head text changed: the document has changed.
    void documentChanged();

public slots:
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
};
