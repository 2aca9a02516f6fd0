// The main window as it stands at start-up: its frame, every control in its place
// with its start-up state, nothing overlapping, and the tab order of the pages.

#include "gui_driver.h"

#include "common/expected_values.h"

using namespace Qt::StringLiterals;

class TestMainWindowLayout : public GuiTest
{
    Q_OBJECT

private slots:
    void windowFrame()
    {
        TForm1 &f = form();
        QCOMPARE(f.windowTitle(), u"Quillmark v2.0"_s);
        // The program's own icon, drawn.
        QCOMPARE(f.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        QVERIFY(!f.windowIcon().pixmap(32).isNull());
        // The desktop shows it as its entry's, which is written under the name it gives.
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_s,
                 QStringLiteral(QUILLMARK_DESKTOP_ENTRY));
        // Typing right after start goes into the description.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.Edit1));

        // The client area holds the pages and the status bar; the menu bar stands above.
        QWidget *client = f.centralWidget();
        QCOMPARE(f.menuBar()->geometry().top(), 0);
        QCOMPARE(client->geometry().top(), f.menuBar()->geometry().bottom() + 1);
        QCOMPARE(client->width(), 484);
        QCOMPARE(f.StatusBar1->height(), 19);
        QCOMPARE(f.StatusBar1->geometry().top(), client->geometry().bottom() + 1);
        QCOMPARE(client->height() + f.StatusBar1->height(), 325);
        QCOMPARE(f.height() - f.menuBar()->height(), 325);
        QCOMPARE(f.width(), 484);

        // Fixed single border: close and minimise boxes, no maximise, no resizing.
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(f.windowFlags() & Qt::WindowCloseButtonHint);

        // Centred on the desktop when first shown.
        const QPoint centre = f.screen()->availableGeometry().center();
        QVERIFY((f.frameGeometry().center() - centre).manhattanLength() <= 2);

        // Status bar: two panels, 100 wide and the rest of the bar, no size grip, the
        // mark empty.
        QVERIFY(!f.StatusBar1->isSizeGripEnabled());
        const QList<QLabel *> panels = statusPanels();
        QCOMPARE(panels.size(), 2);
        QCOMPARE(panels[0]->width(), 100);
        QVERIFY(panels[1]->width() >= 50);
        QVERIFY(f.StatusBar1->width() - panels[1]->geometry().right() <= 4);
        QCOMPARE(panels[0]->text(), QString());
        QCOMPARE(panels[1]->text(), QString());

        // The page control and its pages in order, page 0 in front.
        QCOMPARE(f.PageControl1->parentWidget(), client);
        QCOMPARE(f.PageControl1->geometry(), QRect(0, 8, 483, 297));
        const QStringList captions{u"Basic"_s, u"Advanced"_s, u"Extra Tags"_s, u"DC Tags"_s,
                                   u"HTML Code"_s};
        const QStringList sheets{u"TabSheet1"_s, u"TabSheet2"_s, u"TabSheet4"_s, u"TabSheet5"_s,
                                 u"TabSheet3"_s};
        QCOMPARE(f.PageControl1->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.PageControl1->tabText(i), captions[i]);
            QCOMPARE(f.PageControl1->widget(i)->objectName(), sheets[i]);
        }
        QCOMPARE(f.PageControl1->currentIndex(), 0);

        // The page area the panels fill.
        QCOMPARE(f.TabSheet1->size(), QSize(475, 269));
    }

    // Each field's control against its own catalogue row; the rows themselves are
    // checked against the written-out values in tst_document.
    void fieldControls_data()
    {
        QTest::addColumn<int>("field");
        for (const quill::FieldDef &def : quill::fieldCatalogue()) {
            const QString window = def.owner == quill::Owner::Preferences ? u"Form2."_s : QString();
            QTest::newRow(qPrintable(window + QLatin1StringView(def.control))) << int(def.id);
        }
    }

    void fieldControls()
    {
        QFETCH(int, field);
        const quill::FieldDef &def = quill::fieldDef(quill::Field(field));
        const auto text = [](const char *s) { return s ? QString::fromLatin1(s) : QString(); };

        QWidget *w = fieldControl(def);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), text(def.geometry.parent));
        const QRect rect(def.geometry.left, def.geometry.top, def.geometry.width, 21);
        // A check box is as high as its style draws it.
        if (def.kind == quill::FieldKind::Check)
            QCOMPARE(QRect(w->pos(), QSize(w->width(), 21)), rect);
        else
            QCOMPARE(w->geometry(), rect);
        QCOMPARE(w->toolTip(), text(def.hint));
        QVERIFY(w->isEnabled());

        switch (def.kind) {
        case quill::FieldKind::Edit: {
            auto *edit = qobject_cast<QLineEdit *>(w);
            QVERIFY(edit);
            QCOMPARE(edit->maxLength(), def.limit);
            QCOMPARE(edit->text(), text(def.startText));
            QVERIFY(!edit->isReadOnly());
            break;
        }
        case quill::FieldKind::List: {
            auto *combo = qobject_cast<QComboBox *>(w);
            QVERIFY(combo);
            QVERIFY(!combo->isEditable());
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QStringList defined;
            for (const char *item : def.items)
                defined << text(item);
            QCOMPARE(items, defined);
            QCOMPARE(combo->currentIndex(), def.startIndex);
            break;
        }
        case quill::FieldKind::Check: {
            auto *check = qobject_cast<QCheckBox *>(w);
            QVERIFY(check);
            QCOMPARE(check->text(), text(def.label));
            QVERIFY(!check->isChecked());
            return;
        }
        }

        // The row label: beside the field in the same container, two pixels lower.
        if (def.label) {
            QLabel *found = nullptr;
            for (QLabel *l :
                 w->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
                if (l->text() == text(def.label))
                    found = l;
            }
            QVERIFY2(found, def.label);
            QCOMPARE(found->pos(), QPoint(def.geometry.labelLeft, rect.top() + 2));
            QVERIFY2(found->width() >= found->sizeHint().width(), "label clipped");
        }
    }

    void otherControls_data()
    {
        // Controls that are not fields, and labels found by their text (empty name).
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect"); // width 0: only the position is checked
        QTest::addColumn<QString>("text");

        const auto row = [](const char *name, const char *parent, QRect rect,
                            const char *text = "") {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << rect
                                << QString::fromLatin1(text);
        };
        const auto label = [](const char *text, const char *parent, int x, int y) {
            QTest::newRow(text) << QString() << QString::fromLatin1(parent) << QRect(x, y, 0, 0)
                                << QString::fromLatin1(text);
        };

        row("Panel2", "TabSheet1", QRect(0, 0, 475, 269));
        row("Panel1", "TabSheet2", QRect(0, 0, 475, 269));
        row("Panel3", "TabSheet4", QRect(0, 0, 475, 269));
        row("Panel4", "TabSheet5", QRect(0, 0, 235, 269));
        row("Panel5", "TabSheet5", QRect(240, 0, 235, 269));
        row("GroupBox1", "Panel1", QRect(8, 8, 441, 121), " Char Set ");
        row("GroupBox2", "Panel3", QRect(8, 160, 457, 89), " Comments ");
        row("GroupBox3", "Panel5", QRect(8, 136, 217, 97), " Tips ");
        row("Edit14", "Panel2", QRect(408, 8, 25, 21));
        row("Edit15", "Panel2", QRect(408, 32, 25, 21));
        row("Memo2", "GroupBox1", QRect(144, 51, 289, 62));
        row("BitBtn2", "Panel4", QRect(208, 8, 17, 20));
        row("BitBtn3", "Panel4", QRect(208, 32, 17, 20));
        row("BitBtn4", "Panel4", QRect(208, 56, 17, 20));
        row("BitBtn5", "Panel4", QRect(208, 80, 17, 20));
        row("BitBtn6", "Panel5", QRect(208, 32, 17, 20));
        row("BitBtn7", "GroupBox2", QRect(8, 54, 17, 20));
        row("Button19", "Panel5", QRect(152, 240, 75, 25), "Help");
        label("Days", "Panel2", 128, 106);
        label("The selected character", "GroupBox1", 8, -1);
        label("set supports the following", "GroupBox1", 8, -1);
        label("language(s):", "GroupBox1", 8, -1);
        label("Go to URL ", "Panel1", 96, 170);
        label("seconds", "Panel1", 360, 170);
        label("Use Description", "GroupBox2", 32, 56);
        label("Clicking on the QuickInsert button (       )", "GroupBox3", -1, -1);
        label("will automatically fill in the information", "GroupBox3", -1, -1);
        label("based on the data you entered into the", "GroupBox3", -1, -1);
        label("previous Meta boxes, saving you time!", "GroupBox3", -1, -1);
    }

    void otherControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        QFETCH(QString, text);

        QWidget *w = nullptr;
        if (name.isEmpty()) {
            auto *container = form().findChild<QWidget *>(parent);
            QVERIFY(container);
            for (QLabel *l : container->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
                if (l->text() == text)
                    w = l;
            }
            QVERIFY2(w, qPrintable(u"no label \"%1\" in %2"_s.arg(text, parent)));
            QVERIFY2(w->width() >= w->sizeHint().width(), "label clipped");
        } else {
            w = form().findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(w->parentWidget()->objectName(), parent);
        }

        if (rect.width() > 0) {
            QCOMPARE(w->geometry(), rect);
        } else {
            if (rect.x() >= 0)
                QCOMPARE(w->x(), rect.x());
            if (rect.y() >= 0)
                QCOMPARE(w->y(), rect.y());
        }
        if (auto *group = qobject_cast<QGroupBox *>(w))
            QCOMPARE(group->title(), text);
        else if (auto *button = qobject_cast<QPushButton *>(w); button && !text.isEmpty())
            QCOMPARE(button->text(), text);

        // The QuickInsert buttons show the picture and no caption.
        if (name.startsWith("BitBtn"_L1)) {
            auto *button = qobject_cast<QPushButton *>(w);
            QVERIFY(button->text().isEmpty());
            QVERIFY2(!button->icon().isNull(), "no QuickInsert picture");
            QCOMPARE(button->iconSize(), QSize(9, 9));
        }
    }

    void nothingOverlaps_data()
    {
        QTest::addColumn<QString>("container");
        for (const char *name : {"Panel2", "Panel1", "GroupBox1", "Panel3", "GroupBox2", "Panel4",
                                 "Panel5", "GroupBox3"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Labels are as wide as their text, so a font too wide for the layout shows up as a
    // label running into the control beside it.
    void nothingOverlaps()
    {
        QFETCH(QString, container);
        auto *parent = form().findChild<QWidget *>(container);
        QVERIFY(parent);
        QList<QWidget *> children;
        for (QWidget *w : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!w->isHidden())
                children << w;
        }
        const auto describe = [](QWidget *w) {
            const auto *l = qobject_cast<QLabel *>(w);
            return l ? u"\"%1\""_s.arg(l->text()) : w->objectName();
        };
        for (qsizetype i = 0; i < children.size(); ++i) {
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                QWidget *a = children[i];
                QWidget *b = children[j];
                // The tip's picture sits inside the blank of its own line on purpose.
                if (a == form().BitBtn1 || b == form().BitBtn1)
                    continue;
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(u"%1 overlaps %2"_s.arg(describe(a), describe(b))));
            }
        }
    }

    void quickInsertPictureInTip()
    {
        // BitBtn1 only illustrates the tip: it sits in the blank between the parentheses of
        // the first tip line, whatever font draws it, and does nothing when clicked.
        QPushButton *button = form().BitBtn1;
        QCOMPARE(button->parentWidget(), form().GroupBox3);
        QCOMPARE(button->size(), QSize(17, 20));
        QCOMPARE(button->y(), 22);
        QVERIFY(!button->icon().isNull());

        const QString tip = u"Clicking on the QuickInsert button (       )"_s;
        QLabel *label = nullptr;
        for (QLabel *l : form().GroupBox3->findChildren<QLabel *>())
            label = l->text() == tip ? l : label;
        QVERIFY(label);
        const QFontMetrics metrics(label->font());
        const int left = label->x() + label->contentsRect().left();
        const int open = left + metrics.horizontalAdvance(tip.left(tip.indexOf(u'(') + 1));
        const int close = left + metrics.horizontalAdvance(tip.left(tip.indexOf(u')')));
        QVERIFY2(button->x() >= open && button->geometry().right() < close,
                 qPrintable(u"button at %1..%2, blank at %3..%4"_s.arg(button->x())
                                .arg(button->geometry().right())
                                .arg(open)
                                .arg(close)));

        showPageOf(button);
        const quill::TagDocument before = form().document();
        QTest::mouseClick(button, Qt::LeftButton);
        verifyDocument(before);
        QCOMPARE(mark(), QString());
    }

    void codePageAndNote()
    {
        TForm1 &f = form();
        // The code page: the whole page, editable, no wrapping, both scroll bars, empty.
        QCOMPARE(f.Memo1->parentWidget(), f.TabSheet3);
        showPageOf(f.Memo1);
        QCOMPARE(f.Memo1->geometry(), f.TabSheet3->rect());
        QVERIFY(!f.Memo1->isReadOnly());
        QCOMPARE(f.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(f.Memo1->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QVERIFY(f.Memo1->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QVERIFY(f.Memo1->toPlainText().isEmpty());

        // The character-set note: read-only, disabled, wrapping, three lines at start-up.
        QVERIFY(f.Memo2->isReadOnly());
        QVERIFY(!f.Memo2->isEnabled());
        QVERIFY(f.Memo2->lineWrapMode() != QPlainTextEdit::NoWrap);
        QStringList note;
        for (const char *line : expected::startUpNote)
            note << QString::fromLatin1(line);
        QCOMPARE(lines(f.Memo2), note);

        // The counters cannot be typed into and wear the 3-D face colour.
        for (QLineEdit *counter : {f.Edit14, f.Edit15}) {
            QVERIFY(counter->isReadOnly());
            QCOMPARE(counter->palette().color(QPalette::Base),
                     counter->palette().color(QPalette::Button));
        }
        const QString counted = f.Edit14->text();
        showPageOf(f.Edit14);
        QTest::mouseClick(f.Edit14, Qt::LeftButton);
        QTest::keyClicks(f.Edit14, u"7"_s);
        QCOMPARE(f.Edit14->text(), counted);
        QCOMPARE(mark(), QString());

        // The start folder, hidden on the Advanced page.
        QCOMPARE(f.Edit13->parentWidget(), f.Panel1);
        QVERIFY(f.Edit13->isHidden());
        QCOMPARE(f.Edit13->text(), startFolder());
    }

    void preferencesControls()
    {
        TForm2 &p = preferences();
        QCOMPARE(p.RadioButton1->text(), u"&Make Meta Tag Code only"_s);
        QCOMPARE(p.RadioButton2->text(), u"M&ake Meta Tag Code and HTML code"_s);
        QVERIFY(!p.RadioButton1->isChecked());
        QVERIFY(p.RadioButton2->isChecked());
        QVERIFY(p.mode() == quill::GenerationMode::FullPage);
    }

    void tabOrder_data()
    {
        // Reading order: panel by panel, and within a panel row by row from the top, left to
        // right within a row. The counters, the disabled note, the hidden start folder and
        // the tip's picture take no focus.
        QTest::addColumn<QString>("order");
        QTest::newRow("Basic")
            << u"Edit1 Button11 Edit2 Button12 Edit3 Button4 Edit4 Button5 Edit5 "
               u"Button6 Edit6 Button7 Edit7 Button8 ComboBox1 Button9 ComboBox2 "
               u"Button10 ComboBox3 Button13"_s;
        QTest::newRow("Advanced")
            << u"ComboBox4 Button1 ComboBox5 Button2 Edit8 Edit9 Button3 "
               u"ComboBox6 ComboBox7 ComboBox8 Edit10 Edit11 Edit12 Button14"_s;
        QTest::newRow("Extra Tags")
            << u"ComboBox9 Button15 ComboBox10 Button16 Edit16 Button17 ComboBox11 CheckBox2 "
               u"Edit33 "
               u"Button20 ComboBox12 CheckBox3 Edit34 Button21 ComboBox13 Button22 Edit17 Button18 "
               u"BitBtn7"_s;
        // Two panels side by side: down the left one, then down the right one.
        QTest::newRow("DC Tags") << u"Edit18 BitBtn2 Edit19 BitBtn3 Edit21 BitBtn4 Edit20 BitBtn5 "
                                    u"Edit22 Edit23 Edit24 Edit25 Edit26 Edit27 Edit28 Edit29 "
                                    u"BitBtn6 Edit30 Edit31 Edit32 Button19"_s;
    }

    void tabOrder()
    {
        QFETCH(QString, order);
        const QStringList names = order.split(u' ');
        auto *first = form().findChild<QWidget *>(names.constFirst());
        QVERIFY(first);
        showPageOf(first);
        first->setFocus(Qt::OtherFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 1; i < names.size(); ++i) {
            press(Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, names);
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_main_window_layout.moc"
