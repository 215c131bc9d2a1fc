// Copy, Paste and Clear of the reading grid through the system clipboard.
#include "test_form1.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
QString clip() { return QGuiApplication::clipboard()->text(); }
void setClip(const QString& t) { QGuiApplication::clipboard()->setText(t); }
} // namespace

TEST_F(Form1Test, CopyTakesTheWholeGridWhateverIsSelected)
{
    type("0.25");
    QTest::keyClick(w->Gr1, Qt::Key_Down, Qt::ShiftModifier); // a rectangle
    EXPECT_EQ(cell(2, 1), ""); // the current cell stayed on (1, 1)
    EXPECT_TRUE(lit(1, 1));
    click(w->Command7);
    const QStringList lines = clip().split('\r');
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[0], "No\tDq\tt 1/2\tt fin");
    EXPECT_EQ(lines[1], "1\t0.25\t\t");
    EXPECT_EQ(lines[100], "100\t\t\t");
    EXPECT_EQ(w->Gr1->row(), 0);
    EXPECT_EQ(w->Gr1->col(), 0);
    type("7"); // goes to the highlighted cell, never into a heading
    EXPECT_EQ(w->Gr1->textMatrix(0, 0), "No");
    EXPECT_EQ(cell(1, 1), "7");
}

TEST_F(Form1Test, PasteOfSpreadsheetLinesIsCleanedAndLeavesMarkerAndEvaluate)
{
    type("1");
    w->Gr1->layClip(5, 1, 6, 2, "0.3\t40\r0.4"); // row 6 has no time: emptied by the cleaning
    setClip("0.250\t12 s\t-5\r\n0,25\tabc\t0\r\n");
    click(w->Command8);
    EXPECT_EQ(rows(1, 3), "0.25\t12\t-5\r\n0,25\tabc\t0\r\t\t");
    EXPECT_EQ(rows(5, 6), "0.3\t40\t\r\t\t");
    EXPECT_EQ(w->Gr1->row(), 100);
    EXPECT_EQ(w->Gr1->col(), 3);
    EXPECT_TRUE(lit(1, 1));
    EXPECT_TRUE(modified());

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QStringList many;
    for (int i = 1; i <= 150; ++i)
        many << QString("0.5\t%1\t500\t9\t9").arg(i);
    setClip(many.join('\r'));
    click(w->Command8);
    EXPECT_EQ(rows(100, 100), "0,5\t100\t500");
}

TEST_F(Form1Test, ClearEmptiesAndRedrawsTheGridAndKeepsTheMarker)
{
    type("5");
    key(Qt::Key_Down);
    click(w->Command9);
    EXPECT_EQ(w->Gr1->clipText(0, 0, 2, 3), "No\tDq\tt 1/2\tt fin\r1\t\t\t\r2\t\t\t");
    EXPECT_EQ(w->Gr1->horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    EXPECT_TRUE(lit(1, 1));
    EXPECT_FALSE(lit(2, 1));
    EXPECT_TRUE(modified());
}
