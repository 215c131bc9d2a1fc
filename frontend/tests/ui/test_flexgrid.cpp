// The grid control: addressing with the fixed heading row and numbering
// column, the clipboard text layout, the key events and program moves.
#include "flexgrid.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace veldesk;

namespace {

struct Grid4 : ::testing::Test {
    FlexGrid g;
    void SetUp() override
    {
        g.setRowsCols(5, 4);
        for (int c = 0; c < 4; ++c)
            g.setTextMatrix(0, c, QStringList{"No", "Dq", "t 1/2", "t fin"}[c]);
        for (int r = 1; r < 5; ++r)
            g.setTextMatrix(r, 0, QString::number(r));
    }
};

// Clip text joins by tab and carriage return with nothing after the last row.
TEST_F(Grid4, HeadingAndNumberingCellsAreAddressableLikeDataCellsAndClipTextJoinsThem)
{
    g.setTextMatrix(1, 1, "0.25");
    g.setTextMatrix(2, 3, "600");
    EXPECT_EQ(g.textMatrix(0, 2), "t 1/2");
    EXPECT_EQ(g.textMatrix(3, 0), "3");
    EXPECT_EQ(g.textMatrix(2, 3), "600");
    EXPECT_EQ(g.textMatrix(1, 2), "");
    EXPECT_EQ(g.textMatrix(9, 9), ""); // outside the grid reads as empty
    EXPECT_EQ(g.clipText(0, 0, 2, 3), "No\tDq\tt 1/2\tt fin\r1\t0.25\t\t\r2\t\t\t600");
}

TEST_F(Grid4, SymbolTypefaceShowsGreekButKeepsTheStoredText)
{
    g.setCellFontName(0, 1, "Symbol");
    EXPECT_EQ(g.textMatrix(0, 1), "Dq");
    EXPECT_EQ(g.horizontalHeaderItem(0)->text(), QString::fromUtf8("Δθ"));
    g.setTextMatrix(0, 1, "do");
    EXPECT_EQ(g.horizontalHeaderItem(0)->text(), QString::fromUtf8("δο"));
    EXPECT_EQ(g.clipText(0, 0, 0, 1), "No\tdo");
}

TEST_F(Grid4, LayClipFillsFromTheCornerDropsOverflowAndKeepsUnreachedCells)
{
    g.setTextMatrix(3, 1, "keep");
    g.layClip(1, 1, 2, 3, "a\tb\tc\td\r\ne\r\nx\ty");
    EXPECT_EQ(g.textMatrix(1, 1), "a");
    EXPECT_EQ(g.textMatrix(1, 3), "c");
    EXPECT_EQ(g.textMatrix(2, 1), "\ne"); // a line feed stays inside the field
    EXPECT_EQ(g.textMatrix(3, 1), "keep");
}

TEST_F(Grid4, ClearAllRemovesTextsAndColoursButKeepsTheSize)
{
    g.setTextMatrix(1, 1, "x");
    g.setCellBackColor(1, 1, QColor(255, 255, 192));
    g.clearAll();
    EXPECT_EQ(g.rows(), 5);
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.textMatrix(1, 1), "");
    EXPECT_EQ(g.textMatrix(0, 0), "");
    EXPECT_FALSE(g.cellBackColor(1, 1).isValid());
}

// Each arrow key reports once, with the new current cell already set.
// Extending a rectangle (Shift with arrows or a click, dragging) reports the
// unchanged current cell, and the handler's move back onto it keeps the
// rectangle; a plain arrow then moves on from the current cell.
TEST_F(Grid4, ProgramMovesAreSilentOperatorMovesAreReported)
{
    QList<QPair<int, int>> seen;
    QObject::connect(&g, &FlexGrid::selectionChangedByOperator, &g, [&] {
        seen << qMakePair(g.row(), g.col());
        g.setRowCol(g.row(), g.col());
    });
    const auto selected = [&] {
        QList<QPair<int, int>> cells;
        for (const QModelIndex& i : g.selectionModel()->selectedIndexes())
            cells << qMakePair(i.row() + 1, i.column() + 1);
        std::sort(cells.begin(), cells.end());
        return cells;
    };
    g.setRowCol(2, 2);
    g.setRowCol(0, 0);
    EXPECT_EQ(g.row(), 0);
    g.setRowCol(1, 1);
    g.show();
    g.setFocus();
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Right);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&g, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(seen, (QList<QPair<int, int>>{{2, 1}, {2, 2}, {2, 2}, {2, 2}, {2, 2}}));
    EXPECT_EQ(selected(), (QList<QPair<int, int>>{{2, 2}, {2, 3}, {3, 2}, {3, 3}, {4, 2}, {4, 3}}));
    EXPECT_EQ(g.currentIndex(), g.model()->index(1, 1));
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(seen.last(), qMakePair(3, 2));
    EXPECT_EQ(selected(), (QList<QPair<int, int>>{{3, 2}}));

    const auto centre = [&](int r, int c) { return g.visualRect(g.model()->index(r - 1, c - 1)).center(); };
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(1, 1));
    EXPECT_EQ(seen.last(), qMakePair(3, 2));
    EXPECT_EQ(selected().size(), 6);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, centre(4, 3));
    QMouseEvent drag(QEvent::MouseMove, centre(2, 1), g.viewport()->mapToGlobal(centre(2, 1)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g.viewport(), &drag);
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, centre(2, 1));
    EXPECT_EQ(seen.last(), qMakePair(4, 3));
    EXPECT_EQ(g.row(), 4);
    EXPECT_EQ(selected().size(), 9);
}

TEST_F(Grid4, KeysReportCharacterCodesAndKeyCodes)
{
    QSignalSpy typed(&g, &FlexGrid::keyTyped);
    QSignalSpy released(&g, &FlexGrid::keyReleased);
    g.show();
    g.setFocus();
    QTest::keyRelease(&g, Qt::Key_Tab); // pressed in the control the focus came from
    QTest::keyClick(&g, '7');
    QTest::keyClick(&g, Qt::Key_Backspace);
    QTest::keyClick(&g, Qt::Key_Return);
    QTest::keyClick(&g, Qt::Key_Escape);
    QTest::keyClick(&g, Qt::Key_Delete);
    QList<int> chars, keys;
    for (const auto& a : typed)
        chars << a.at(0).toInt();
    for (const auto& a : released)
        keys << a.at(0).toInt();
    EXPECT_EQ(chars, (QList<int>{'7', 8, 13, 27})); // Delete yields no character
    EXPECT_EQ(keys, (QList<int>{'7', 8, 13, 27, 46}));
}

} // namespace

TEST(FlexGridPictures, HeadingPictureKeepsItsSizeAndTheHeadingGrowsToFitIt)
{
    FlexGrid grid;
    grid.setRowsCols(3, 3);
    grid.setColWidthTwips(1, 1000);
    grid.resize(300, 200);
    QPixmap pic(48, 24);
    pic.fill(QColor(0, 0, 255));
    grid.setCellPicture(0, 1, pic);
    EXPECT_TRUE(grid.hasCellPicture(0, 1));
    EXPECT_FALSE(grid.hasCellPicture(0, 2));

    const QImage img = grid.wholeImage();
    const int headingHeight = img.height() - 2 * grid.rowHeight(0);
    EXPECT_GE(headingHeight, 24);
    // Drawn whole: a blue run as wide as the picture in the heading of column 1.
    int run = 0, best = 0;
    for (int x = 0; x < img.width(); ++x) {
        run = img.pixelColor(x, 12) == QColor(0, 0, 255) ? run + 1 : 0;
        best = std::max(best, run);
    }
    EXPECT_EQ(best, 48);
}
