// Copy, Paste and Clear of the reading grid through the system clipboard.
#include "test_form1.h"

#include "gridtext.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace veldesk;

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
    const QStringList lines = clip().split(gridtext::kLineEnd); // rows as other programs here take them
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

TEST_F(Form1Test, PasteShowsWhatSaveWritesMarksWhatIsNoNumberAndSaysSoOnce)
{
    w->Gr1->layClip(5, 1, 6, 2, "0.3\t40\r0.4"); // not reached by the paste: kept
    setClip("0.250\t12 s\t-5\r\n95,5\tabc\t1\u00a0250\n0,25\t1,5\tx\ry\n");
    click(w->Command8);
    EXPECT_EQ(rows(1, 6), "0.25\t12\t-5\r95.5\tabc\t1250\r0.25\t1.5\tx\ry\t\t\r0.3\t40\t\r0.4\t\t");
    EXPECT_EQ(w->Gr1->cellBackColor(2, 2), QColor(255, 200, 140));
    EXPECT_NE(w->Gr1->cellBackColor(2, 3), QColor(255, 200, 140));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].text.startsWith("3 cells of the readings are not numbers.")) << seam.messages[0].text.toStdString();
    EXPECT_EQ(w->Gr1->row(), 100);
    EXPECT_EQ(w->Gr1->col(), 3);
    EXPECT_TRUE(lit(1, 1));
    EXPECT_TRUE(modified());
    EXPECT_EQ(w->windowTitle(), "VELDESK 1.0*");

    // Passing over a marked cell keeps its text and its colour; a typed value clears the mark.
    const auto clickCell = [this](int r, int c) {
        QTest::mouseClick(w->Gr1->viewport(), Qt::LeftButton, {},
                          w->Gr1->visualRect(w->Gr1->model()->index(r - 1, c - 1)).center());
    };
    clickCell(2, 2);
    key(Qt::Key_Right);
    EXPECT_EQ(rows(2, 2), "95.5\tabc\t1250");
    EXPECT_EQ(w->Gr1->cellBackColor(2, 2), QColor(255, 200, 140));
    key(Qt::Key_Left);
    type("7");
    key(Qt::Key_Right);
    EXPECT_EQ(w->Gr1->cellBackColor(2, 2), QColor(Qt::white));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QStringList many;
    for (int i = 1; i <= 150; ++i)
        many << QString("0.5\t%1\t1.500\t9\t9").arg(i);
    setClip(many.join('\r') + "\r\t\t\r"); // blank rows at the end lose nothing
    seam.messages.clear();
    click(w->Command8);
    EXPECT_EQ(rows(100, 100), "0,5\t100\t1500");
    EXPECT_EQ(seam.texts(), QStringList{"50 pasted rows did not fit into the grid's 100 rows and were left out."});

    // Both in the one message after the paste.
    many[100] = "x\t1\t1";
    many[0] = "0.5\tabc\t1";
    setClip(many.mid(0, 101).join('\n'));
    seam.messages.clear();
    click(w->Command8);
    EXPECT_EQ(seam.texts(), QStringList{"1 cell of the readings is not a number. It keeps its text and is marked in"
                                        " orange; correct it before saving.\n1 pasted row did not fit into the"
                                        " grid's 100 rows and was left out."});
}

TEST_F(Form1Test, CtrlCAndCtrlVInTheGridAreCopyAndPaste)
{
    type("5");
    QTest::keyClick(w->Gr1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(cell(1, 1), "5");
    EXPECT_TRUE(clip().startsWith("No\tDq\tt 1/2\tt fin" + gridtext::kLineEnd + "1\t5\t\t"));
    setClip("0.3\t40\t400");
    QTest::keyClick(w->Gr1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rows(1, 2), "0.3\t40\t400\r\t\t");
    QTest::keyClick(w->Gr1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(rows(1, 1), "0.3\t40\t400");
}

TEST_F(Form1Test, ClearEmptiesAndRedrawsTheGrid)
{
    type("5");
    key(Qt::Key_Down);
    click(w->Command9);
    EXPECT_EQ(w->Gr1->clipText(0, 0, 2, 3), "No\tDq\tt 1/2\tt fin\r1\t\t\t\r2\t\t\t");
    EXPECT_EQ(w->Gr1->horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    EXPECT_TRUE(lit(1, 1));
    EXPECT_FALSE(lit(2, 1));
    EXPECT_TRUE(modified());

    QTemporaryDir dir;
    w->Text1[3]->setText(dir.filePath("a.pd"));
    w->Gr1->layClip(1, 1, 1, 3, "0.2\t30\t90");
    click(w->Command4);
    ASSERT_TRUE(cleared());
    click(w->Command9); // a saved data set cleared is a change
    EXPECT_TRUE(modified());
    EXPECT_FALSE(w->Command1->isEnabled());
}
