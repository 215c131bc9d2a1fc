// Copy, Paste and Clear of the reading grid through the system clipboard.
#include "test_form1.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QString clip() { return QGuiApplication::clipboard()->text(); }
void setClip(const QString& t) { QGuiApplication::clipboard()->setText(t); }

struct Form1Clip : Form1Test {
    void copy() { QTest::mouseClick(w->Command7, Qt::LeftButton); }
    void paste() { QTest::mouseClick(w->Command8, Qt::LeftButton); }
    void clear() { QTest::mouseClick(w->Command9, Qt::LeftButton); }
};

} // namespace

TEST_F(Form1Clip, CopyTakesTheWholeGridWithHeadingsAndNumbers)
{
    copy();
    QStringList expected{"No\tDq\tt 1/2\tt fin"};
    for (int r = 1; r <= 100; ++r)
        expected << QString::number(r) + "\t\t\t";
    EXPECT_EQ(clip(), expected.join('\r'));
    EXPECT_EQ(w->Gr1->row(), 0);
    EXPECT_EQ(w->Gr1->col(), 0);
    EXPECT_TRUE(highlighted(1, 1));
}

TEST_F(Form1Clip, CopyIgnoresTheSelectedRectangleAndLeavesTheBufferAlone)
{
    type("0.25");
    w->Gr1->setTextMatrix(100, 3, "600");
    QTest::keyClick(w->Gr1, Qt::Key_Down, Qt::ShiftModifier); // a rectangle
    const QString buffer = w->Text2->text();
    copy();
    const QStringList lines = clip().split('\r');
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[1], "1\t0.25\t\t");
    EXPECT_EQ(lines[2], "2\t0\t\t"); // shift+down still released a key into row 2
    EXPECT_EQ(lines[100], "100\t\t\t600");
    EXPECT_EQ(w->Text2->text(), buffer);
    EXPECT_EQ(w->Gr1->selectedRanges().size(), 0);
}

TEST_F(Form1Clip, PasteOfSpreadsheetLinesWithCrLfIsCleaned)
{
    type("1");
    setClip("0.25\t120\t600\r\n0.2\t90\t500\r\n");
    paste();
    EXPECT_EQ(w->Gr1->clipText(1, 1, 3, 3), "0.25\t120\t600\r0.2\t90\t500\r\t\t");
    EXPECT_EQ(w->Gr1->row(), 100);
    EXPECT_EQ(w->Gr1->col(), 3);
    EXPECT_TRUE(highlighted(1, 1));
    EXPECT_TRUE(markerModified()); // neither marker nor Evaluate change
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(Form1Clip, PasteRewritesOnlyPositiveNumbers)
{
    setClip("0.250\t12 s\t-5\r0\tabc\t0,25\r1e3\t \t7");
    paste();
    EXPECT_EQ(w->Gr1->clipText(1, 1, 3, 3), "0.25\t12\t-5\r0\tabc\t0,25\r1000\t \t7");

    useLocale(QLocale(QLocale::German, QLocale::Germany));
    setClip("0.250\t1,5\t600");
    paste();
    EXPECT_EQ(w->Gr1->clipText(1, 1, 1, 3), "0,25\t1,5\t600");
}

TEST_F(Form1Clip, PasteFillsAtMostThreeColumnsAndAHundredRowsAndKeepsTheRest)
{
    w->Gr1->setTextMatrix(5, 1, "0.3");
    w->Gr1->setTextMatrix(5, 2, "40");
    w->Gr1->setTextMatrix(6, 1, "0.4"); // no time beside it: emptied by the cleaning
    setClip("1\t2\t3\t4\t5\r6\t7\t8\t9\t10");
    paste();
    EXPECT_EQ(w->Gr1->clipText(1, 1, 2, 3), "1\t2\t3\r6\t7\t8");
    EXPECT_EQ(cell(5, 1), "0.3");
    EXPECT_EQ(cell(6, 1), "");

    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QString("0.1\t%1\t500").arg(i);
    setClip(lines.join('\r'));
    paste();
    EXPECT_EQ(cell(100, 2), "100");
}

TEST_F(Form1Clip, CopyThenPasteShiftsTheHeadingsIntoTheData)
{
    copy();
    paste();
    EXPECT_EQ(w->Gr1->clipText(1, 1, 1, 3), "No\tDq\tt 1/2");
    EXPECT_EQ(cell(2, 1), ""); // the row number "1" had no time beside it
    EXPECT_EQ(cell(2, 2), "");
    EXPECT_EQ(cell(0, 1), "Dq");
}

TEST_F(Form1Clip, PasteWithoutTextKeepsEveryCell)
{
    w->Gr1->setTextMatrix(1, 1, "0.5");
    w->Gr1->setTextMatrix(1, 2, "10");
    QGuiApplication::clipboard()->clear();
    paste();
    EXPECT_EQ(cell(1, 1), "0.5");
}

TEST_F(Form1Clip, ClearEmptiesAndRedrawsTheGridAndKeepsTheMarker)
{
    type("5");
    key(Qt::Key_Down);
    w->Gr1->setTextMatrix(100, 3, "1");
    clear();
    EXPECT_EQ(w->Gr1->clipText(0, 0, 1, 3), "No\tDq\tt 1/2\tt fin\r1\t\t\t");
    EXPECT_EQ(cell(100, 3), "");
    EXPECT_EQ(cell(100, 0), "100");
    EXPECT_EQ(w->Gr1->horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    EXPECT_TRUE(highlighted(1, 1));
    EXPECT_FALSE(highlighted(2, 1));
    EXPECT_EQ(w->Text2->text(), "");
    EXPECT_TRUE(markerModified());
}
