#pragma once
// A text grid addressed the way the front end's windows think of it: cells by
// (row, column) with a fixed heading row 0 and a fixed numbering column 0, a
// current cell kept by the grid (which may also be a heading cell), per-cell
// colours, typeface, alignment and picture, the text of a rectangle joined by
// tab and carriage return, a picture of the whole grid, and three events: a key
// typed (with its character code), a key released (with its key code) and a
// selection changed by the operator.
//
// Row 0 is shown in the horizontal header and column 0 in the vertical header,
// so both stay in place while the data cells scroll.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QTableWidget>

class QAbstractButton;

namespace veldesk {

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Size including the heading row and the numbering column.
    void setRowsCols(int rows, int cols);
    int rows() const { return rowCount() + 1; }
    int cols() const { return columnCount() + 1; }

    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& text);

    // The grid's current cell. Moves made here are the program's own and do not
    // raise selectionChangedByOperator. The operator extending a rectangle
    // (Shift with arrows or a click, or dragging the mouse) moves its far
    // corner and keeps the current cell where it is; a move to the current
    // cell made while such an extension is reported keeps the rectangle.
    int row() const { return m_row; }
    int col() const { return m_col; }
    void setRowCol(int r, int c);
    // Reduces the selection to the current cell (no rectangle).
    void collapseSelection();

    void setCellBackColor(int r, int c, const QColor& color);
    QColor cellBackColor(int r, int c) const; // invalid QColor when none was set
    // "Symbol" shows Latin letters as the Greek ones that typeface maps them to;
    // the stored text stays as it was ("Dq" reads as the Greek capital delta and
    // small theta). Any other name sets that family on the cell.
    void setCellFontName(int r, int c, const QString& family);
    void setCellPicture(int r, int c, const QPixmap& picture);
    bool hasCellPicture(int r, int c) const;
    void setCellAlignment(int r, int c, Qt::Alignment alignment);
    // Alignment given to the data cells of column c (new and existing ones).
    void setColAlignment(int c, Qt::Alignment alignment);

    // Widths in twips (1/1440 inch; 15 twips are one pixel at 96 dots per inch).
    void setColWidthTwips(int c, int twips);

    // Removes every cell's text and formatting; the size stays.
    void clearAll();

    // Text of the rectangle rows r1..r2, columns c1..c2: cells joined by tab,
    // rows by carriage return, nothing after the last row.
    QString clipText(int r1, int c1, int r2, int c2) const;
    // Lays text in that layout into the rectangle, from its top-left cell: lines
    // and fields beyond the rectangle are dropped, cells not reached keep their
    // text, every other character stays in the field texts.
    void layClip(int r1, int c1, int r2, int c2, const QString& text);

    // A picture of the whole grid as drawn: every row and column, headings,
    // pictures and colours, whatever is scrolled into view.
    QImage wholeImage() const;

    // The Windows virtual-key code of a key event (8 Backspace, 13 Enter,
    // 27 Escape, 46 Delete, 37-40 arrows, letters and digits as their
    // upper-case characters).
    static int vbKeyCode(int qtKey);

    static QString symbolFontText(const QString& latin);

signals:
    void keyTyped(int charCode);
    void keyReleased(int keyCode);
    void selectionChangedByOperator();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidgetItem* cellItem(int r, int c, bool create);
    const QTableWidgetItem* cellItem(int r, int c) const;
    void onQtCurrentChanged(int qRow, int qCol);
    // Selects the rectangle from the current cell to (r, c) and reports it.
    void extendSelection(int r, int c);
    void copyInto(FlexGrid& other) const;

    int m_row = 0;
    int m_col = 0;
    int m_selRow = 0; // far corner of the selected rectangle
    int m_selCol = 0;
    bool m_programMove = false;
    bool m_extending = false;      // an extension is being reported
    bool m_mouseExtending = false; // the left button is down in the grid
    // While a key moves the cell, the selection changes before the current
    // cell does; the operator's selection change is reported once both moved.
    bool m_keyMove = false;
    bool m_keyMoveChangedSelection = false;
    QString m_cornerText;
    QAbstractButton* m_corner = nullptr;
    QHash<int, Qt::Alignment> m_colAlign;
    // A key has been pressed here since the focus came. Until then releases
    // belong to keys pressed elsewhere (the Tab that brought the focus here)
    // and are not reported.
    bool m_keyPressedHere = false;
};

} // namespace veldesk
