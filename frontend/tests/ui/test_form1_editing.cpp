// The main window at start-up and the grid's keyboard editing through the
// hidden buffer: what each key sequence leaves in the cells, the highlight,
// the "modified" marker and the Evaluate button.
#include "test_form1.h"

#include <QSignalSpy>

using namespace veldesk;

TEST_F(Form1Test, StartsWithTheDefaultsAnEmptyGridAndEvaluateDisabled)
{
    EXPECT_EQ(w->Label2->text(), "...");
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(w->Gr1->clipText(0, 0, 1, 3), "No\tDq\tt 1/2\tt fin\r1\t\t\t");
    EXPECT_EQ(w->Gr1->horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    EXPECT_EQ(cell(100, 0), "100");
    EXPECT_TRUE(lit(1, 1));
    EXPECT_DOUBLE_EQ(w->Text1[2]->font().pointSizeF(), 8.25);
    EXPECT_DOUBLE_EQ(w->Gr1->font().pointSizeF(), 9.75);
}

TEST_F(Form1Test, TypedTextIsReadAsOneNumberAndMarksTheGridModified)
{
    const QList<std::pair<QString, QString>> cases = {{"0.25", "0.25"}, {"1.50", "1.5"}, {"12abc", "12abc"},
                                                      {"1,5", "1.5"}, {"2.5e2", "250"}, {"abc", "abc"}};
    for (const auto& [typed, shown] : cases) {
        const int r = w->fila_actual, c = w->col_actual;
        type(typed);
        EXPECT_EQ(cell(r, c), shown) << typed.toStdString();
        key(Qt::Key_Return);
    }
    EXPECT_TRUE(modified());
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(Form1Test, CommaLocaleShowsCommasAndMovingOverACellKeepsItsValue)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type("0.25");
    key(Qt::Key_Return);
    type("1,5");
    key(Qt::Key_Left);
    key(Qt::Key_Right);
    EXPECT_EQ(rows(1, 1), "0,25\t1,5\t");
}

TEST_F(Form1Test, FirstKeyInACellReplacesItsValueBackspaceEscapeDelete)
{
    type("7");
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    type("34");
    EXPECT_EQ(cell(1, 1), "34");
    key(Qt::Key_Backspace);
    EXPECT_EQ(cell(1, 1), "3");
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    key(Qt::Key_Backspace); // first key in the cell: the buffer is emptied
    EXPECT_EQ(cell(1, 1), "0");
    type("9");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(1, 1), "0");
    type("8");
    key(Qt::Key_Delete);
    EXPECT_EQ(cell(1, 1), "0");
}

TEST_F(Form1Test, EnterAndArrowsMoveTheHighlightAndLeaveTheCellsTheyPass)
{
    key(Qt::Key_Down);
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_TRUE(lit(2, 1));
    EXPECT_EQ(w->Gr1->cellBackColor(1, 1), QColor(Qt::white));
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Return); // column 3 wraps to the next row
    EXPECT_EQ(rows(2, 3), "\t\t\r\t\t");
    EXPECT_TRUE(lit(3, 1));
    EXPECT_EQ(w->Label2->text(), "...");
    EXPECT_EQ(w->windowTitle(), "VELDESK 1.0");

    const QRect last = w->Gr1->visualRect(w->Gr1->model()->index(99, 2));
    QTest::mouseClick(w->Gr1->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_FALSE(w->editando);
    type("600");
    key(Qt::Key_Return); // the last cell stays
    EXPECT_EQ(cell(100, 3), "600");
    EXPECT_TRUE(lit(100, 3));
}

TEST_F(Form1Test, EditsOfWhatSaveWritesDisableEvaluateUntilSaved)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("set.pd"));
    w->Text1[3]->clear();
    QTest::keyClicks(w->Text1[3], dir.filePath("set.pd"));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_EQ(w->Label2->text(), "..."); // the file name is not part of the data set
    QTest::keyClicks(w->Text1[3], "x");
    EXPECT_FALSE(w->Command1->isEnabled());

    for (QLineEdit* box : {w->Text1[0], w->Text1[1], w->Text1[2]}) {
        w->Text1[3]->setText(dir.filePath("set.pd"));
        seam.answers = {veldesk::MsgAnswer::Yes};
        click(w->Command4); // saved: marker and title cleared, Evaluate enabled
        ASSERT_TRUE(w->Command1->isEnabled());
        EXPECT_EQ(w->windowTitle(), "VELDESK 1.0");
        QTest::keyClicks(box, "9");
        EXPECT_TRUE(modified()) << box->objectName().toStdString();
        EXPECT_EQ(w->windowTitle(), "VELDESK 1.0*");
        EXPECT_FALSE(w->Command1->isEnabled());
        // Naming an existing file again, this one or another, does not offer
        // Evaluate: neither file holds what the window shows. (The name must
        // really change: setting the same text again emits no change at all.)
        for (const QString& name : {dir.filePath("other.pd"), dir.filePath("set.pd")}) {
            writeFile(name, readFile(dir.filePath("set.pd")));
            QSignalSpy changed(w->Text1[3], &QLineEdit::textChanged);
            w->Text1[3]->setText(name);
            ASSERT_EQ(changed.count(), 1) << name.toStdString();
            EXPECT_FALSE(w->Command1->isEnabled()) << name.toStdString();
        }
    }
}
