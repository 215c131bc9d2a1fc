// The main window at start-up and the grid's keyboard editing through the
// hidden buffer: what each key sequence leaves in the cells, the highlight,
// the "modified" marker and the Evaluate button.
#include "test_form1.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

TEST_F(Form1Test, StartsWithTheDefaultDataSetAndAnEmptyGrid)
{
    EXPECT_EQ(w->windowTitle(), "VELDESK 1.0");
    EXPECT_EQ(w->size(), QSize(479, 456));
    EXPECT_EQ(w->Text1[3]->text(), "data.pd");
    EXPECT_EQ(w->Text1[0]->text(), "V.Arezo Input data");
    EXPECT_EQ(w->Text1[1]->text(), "0.018");
    EXPECT_EQ(w->Text1[2]->text(), "0.30");
    EXPECT_EQ(w->findChild<QLineEdit*>("Text1_3"), w->Text1[3]);
    EXPECT_EQ(w->findChild<QLabel*>("Label1_1")->toolTip(), "tube internal radius");
    EXPECT_EQ(w->findChild<QLabel*>("Label1_2")->toolTip(), "level at time = 0");
    EXPECT_EQ(w->findChild<QLabel*>("Label1_0")->text(), "Data (input): ");
    EXPECT_EQ(w->Command7->text(), "Copy ");
    EXPECT_EQ(w->Frame1->title(), "Pipe Dimensions");
    EXPECT_EQ(w->Gr1->geometry(), QRect(8, 120, 289, 329));
    EXPECT_EQ(w->Label2->geometry(), QRect(16, 464, 97, 17));
    EXPECT_EQ(w->Label2->text(), "...");
    EXPECT_FALSE(w->Text2->isVisible());
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command4->isEnabled());
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 500);

    EXPECT_EQ(w->Gr1->rows(), 101);
    EXPECT_EQ(w->Gr1->cols(), 4);
    EXPECT_EQ(w->Gr1->clipText(0, 0, 2, 3), "No\tDq\tt 1/2\tt fin\r1\t\t\t\r2\t\t\t");
    EXPECT_EQ(cell(100, 0), "100");
    EXPECT_EQ(w->Gr1->horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    EXPECT_EQ(w->Gr1->colWidthTwips(1), 1005); // 1000 twips rounded to 67 pixels
    EXPECT_TRUE(highlighted(1, 1));
    EXPECT_EQ(w->Gr1->row(), 1);
    EXPECT_EQ(w->Gr1->col(), 1);
    EXPECT_EQ(w->Text2->text(), "");
}

TEST_F(Form1Test, FocusGoesAroundInTheWindowsOrder)
{
    const QList<QWidget*> order = {w->Command1, w->Command2, w->Text1[0], w->Text1[1], w->Text1[2],
                                   w->Gr1, w->Text1[3], w->Command3, w->Command4, w->Command5,
                                   w->Command6, w->Command7, w->Command8, w->Command9};
    // The chain also runs through the grid's own parts; only the controls count.
    QList<QWidget*> seen;
    QWidget* at = w->Command1;
    do {
        if (order.contains(at) && !seen.contains(at))
            seen << at;
        at = at->nextInFocusChain();
    } while (at != w->Command1);
    EXPECT_EQ(seen, order);
}

TEST_F(Form1Test, TypedTextIsReadAsALeadingNumberAndShownInTheOperatorsFormat)
{
    const QList<std::pair<QString, QString>> cases = {
        {"0.25", "0.25"}, {"1.50", "1.5"}, {"12abc", "12"}, {"1,5", "1"},
        {"2.5e2", "250"}, {"abc", "0"}, {"-3", "-3"}, {"0.0000125", "1.25E-05"}};
    for (const auto& [typed, shown] : cases) {
        const int r = w->fila_actual, c = w->col_actual;
        type(typed);
        EXPECT_EQ(cell(r, c), shown) << typed.toStdString();
        EXPECT_EQ(w->Text2->text(), typed); // the buffer keeps what was typed
        key(Qt::Key_Return);
    }
    EXPECT_TRUE(markerModified());
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(Form1Test, CommaLocaleShowsCommasAndKeepsThemWhenMovingOver)
{
    useLocale(QLocale(QLocale::German, QLocale::Germany));
    type("0.25");
    EXPECT_EQ(cell(1, 1), "0,25");
    key(Qt::Key_Return);
    type("1,5"); // the operator's own separator is understood as well
    EXPECT_EQ(cell(1, 2), "1,5");
    // Moving back over the cells rewrites them from their own text: unchanged.
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(cell(1, 1), "0,25");
    EXPECT_EQ(cell(1, 2), "1,5");
}

TEST_F(Form1Test, FirstCharacterReplacesTheCellLaterOnesExtendIt)
{
    type("7");
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    EXPECT_EQ(w->Text2->text(), "7");
    EXPECT_FALSE(w->editando);
    type("3");
    EXPECT_EQ(cell(1, 1), "3");
    EXPECT_TRUE(w->editando);
    type("4");
    EXPECT_EQ(cell(1, 1), "34");
}

TEST_F(Form1Test, BackspaceEscapeAndDelete)
{
    type("5");
    key(Qt::Key_Return);
    key(Qt::Key_Left);
    key(Qt::Key_Backspace); // first key in the cell: buffer emptied
    EXPECT_EQ(cell(1, 1), "0");
    type("12");
    key(Qt::Key_Backspace);
    EXPECT_EQ(cell(1, 1), "1");
    EXPECT_EQ(w->Text2->text(), "1");
    type("9");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(1, 1), "0");
    type("8");
    key(Qt::Key_Delete);
    EXPECT_EQ(cell(1, 1), "0");
    EXPECT_EQ(w->Text2->text(), "");
}

TEST_F(Form1Test, EnterMovesInReadingOrderAndWritesZeroIntoAnEmptyNextCell)
{
    type("0.25");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(1, 1), "0.25");
    EXPECT_EQ(cell(1, 2), "0");
    EXPECT_TRUE(highlighted(1, 2));
    EXPECT_EQ(w->Gr1->cellBackColor(1, 1), QColor(255, 255, 255));
    key(Qt::Key_Return);
    key(Qt::Key_Return); // from column 3 to the next row
    EXPECT_EQ(w->fila_actual, 2);
    EXPECT_EQ(w->col_actual, 1);
    EXPECT_TRUE(highlighted(2, 1));
    EXPECT_EQ(cell(2, 1), "0");

    clickCell(100, 3);
    EXPECT_EQ(w->fila_actual, 100);
    type("600");
    key(Qt::Key_Return); // the last cell stays
    EXPECT_EQ(w->fila_actual, 100);
    EXPECT_EQ(w->col_actual, 3);
    EXPECT_EQ(cell(100, 3), "600");
    EXPECT_TRUE(highlighted(100, 3));
}

TEST_F(Form1Test, ArrowIntoAnEmptyCellWritesZeroAndMarksModified)
{
    key(Qt::Key_Down);
    EXPECT_EQ(w->fila_actual, 2);
    EXPECT_EQ(cell(2, 1), "0");
    EXPECT_TRUE(highlighted(2, 1));
    EXPECT_FALSE(highlighted(1, 1));
    EXPECT_TRUE(markerModified());
}

TEST_F(Form1Test, MouseSelectionMovesTheHighlightAndLoadsTheBufferWithoutWriting)
{
    w->Gr1->setTextMatrix(3, 2, "abc");
    type("1");
    clickCell(3, 2);
    EXPECT_EQ(w->fila_actual, 3);
    EXPECT_EQ(w->col_actual, 2);
    EXPECT_FALSE(w->editando);
    EXPECT_EQ(w->Text2->text(), "abc");
    EXPECT_EQ(cell(3, 2), "abc");
    EXPECT_TRUE(highlighted(3, 2));
    EXPECT_FALSE(highlighted(1, 1));
}

TEST_F(Form1Test, OnlyTheFileNameBoxDrivesEvaluate)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.pd");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    for (QLineEdit* box : {w->Text1[0], w->Text1[1], w->Text1[2]}) {
        QTest::keyClicks(box, "9");
        EXPECT_EQ(w->Label2->text(), "...");
        EXPECT_FALSE(w->Command1->isEnabled());
    }
    w->Text1[3]->clear();
    QTest::keyClicks(w->Text1[3], path);
    EXPECT_TRUE(w->Command1->isEnabled());
    QTest::keyClicks(w->Text1[3], "x");
    EXPECT_FALSE(w->Command1->isEnabled());
    QTest::keyClick(w->Text1[3], Qt::Key_Backspace);
    EXPECT_TRUE(w->Command1->isEnabled());
    type("1"); // any key in the grid disables it again
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(Form1Test, ExitEndsTheProgramAtOnceWithoutAQuestion)
{
    type("0.25");
    QTimer::singleShot(0, w.get(), [this] { QTest::mouseClick(w->Command2, Qt::LeftButton); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(seam.messages.empty());
}
