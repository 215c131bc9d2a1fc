#pragma once
// The keyboard editing of the reading grid, without the grid: the hidden edit
// buffer Text2, the flag editando, the cell being edited and the cell that
// carries the highlight. The main window passes each grid event in and applies
// the changes that come back (highlight moves, a cell's new text, the
// "modified" marker, a clipboard command), so the rules can be followed one
// key at a time without any widget.
//
// Rows 1 to 100 and columns 1 to 3 are the readings; row 0 and column 0 are
// headings, which the editing never writes.
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

namespace veldesk {

namespace gridedit {

inline constexpr int kRows = 100; // readings the grid holds
inline constexpr int kCols = 3;   // dtheta, t 1/2, t fin

struct Cell {
    int row = 0;
    int col = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// Ctrl+C and Ctrl+V typed in the grid do what the Copy and Paste buttons do.
enum class Command { None, Copy, Paste };

// What one event asks of the grid, applied in this order: the cells in
// `unlit` lose the highlight (back to their resting colour), `lit` gets it and
// becomes the grid's current cell, `write` gets the text `text`; `modified`
// (set only when the cell's text really changes) then shows the marker and
// disables Evaluate; `command` runs last.
struct Changes {
    QList<Cell> unlit;
    std::optional<Cell> lit;
    std::optional<Cell> write;
    QString text;
    bool modified = false;
    Command command = Command::None;
};

class Editor {
public:
    using CellText = std::function<QString(Cell)>;
    using LocaleOf = std::function<QLocale()>;

    // cellText reads the grid as it is when asked; locale gives the operator's
    // regional settings for the numbers the grid shows.
    explicit Editor(CellText cellText, LocaleOf locale = [] { return QLocale(); });

    // The text of the hidden buffer: the characters typed for the current cell.
    QString Text2 = QStringLiteral("Text2");
    // The operator has begun typing a new value into the current cell.
    bool editando = false;
    // The cell being edited.
    int fila_actual = 1, col_actual = 1;
    // The cell that carries the highlight; fila_previa -1 until the first move.
    int fila_previa = -1, col_previa = 0;

    // Moves the highlight to (row, col), makes it current and loads the buffer.
    Changes selecciona_celda(int col, int row);
    // fila_actual, col_actual = (1, 1) and the highlight there.
    Changes firstCell();

    // Grid events. A character goes into the buffer; Ctrl+C (3) and Ctrl+V
    // (22) are commands; any other control character is dropped, except the
    // Backspace (8), Enter (13) and Escape (27) that the release handles. A
    // release writes the buffer, read as a number, into the current cell only
    // when the operator has typed there or pressed Delete: moving over a cell
    // never changes it. gridCurrent is the grid's current cell when the event
    // arrives: Copy, Paste and Open leave it away from the highlight.
    Changes keyTyped(int charCode, Cell gridCurrent);
    Changes keyReleased(int keyCode, Cell gridCurrent);
    // The operator selected a cell (mouse or arrow keys); it is the current one.
    Changes selectionChanged(Cell gridCurrent);

    // Cells whose pasted text could not be read as a number. They keep a colour
    // of their own when the highlight leaves them, until a value is typed in.
    void setMarked(Cell c, bool marked);
    bool isMarked(Cell c) const { return m_marked.contains(key(c)); }
    void clearMarks() { m_marked.clear(); }

private:
    static int key(Cell c) { return c.row * 8 + c.col; }
    void select(Changes& ch, Cell c);
    // On to the next cell in reading order; the last cell stays.
    void avanza_celda(Changes& ch);
    void backToHighlight(Changes& ch, Cell gridCurrent);

    CellText m_cellText;
    LocaleOf m_locale;
    Cell m_current; // the grid's current cell as the editor last left it
    QSet<int> m_marked;
};

} // namespace gridedit

} // namespace veldesk
