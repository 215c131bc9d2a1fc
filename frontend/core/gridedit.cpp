#include "gridedit.h"

#include "gridtext.h"

#include <utility>

namespace veldesk {

namespace gridedit {

Editor::Editor(CellText cellText, LocaleOf locale)
    : m_cellText(std::move(cellText))
    , m_locale(std::move(locale))
{
}

void Editor::select(Changes& ch, Cell c)
{
    if (fila_previa >= 1 && col_previa >= 1)
        ch.unlit.append({fila_previa, col_previa});
    ch.lit = c;
    m_current = c;
    fila_previa = c.row;
    col_previa = c.col;
    Text2 = m_cellText(c);
}

void Editor::avanza_celda(Changes& ch)
{
    editando = false;
    if (col_actual < kCols) {
        ++col_actual;
    } else if (fila_actual < kRows) {
        ++fila_actual;
        col_actual = 1;
    }
    select(ch, {fila_actual, col_actual});
}

Changes Editor::selecciona_celda(int col, int row)
{
    Changes ch;
    select(ch, {row, col});
    return ch;
}

Changes Editor::firstCell()
{
    fila_actual = 1;
    col_actual = 1;
    return selecciona_celda(col_actual, fila_actual);
}

Changes Editor::selectionChanged(Cell gridCurrent)
{
    Changes ch;
    fila_actual = gridCurrent.row;
    col_actual = gridCurrent.col;
    select(ch, gridCurrent);
    editando = false;
    return ch;
}

// Copy, Paste and Open leave the grid's current cell where they finished (a
// heading cell after Copy, the last cell written after Open or Paste) while
// the highlight stays where the operator sees it. A key pressed in the grid
// then goes to the highlighted cell, with the buffer reloaded from it: sent
// to that far cell it would overwrite a heading or, with a key as harmless
// as Ctrl, turn the last reading into 0.
void Editor::backToHighlight(Changes& ch, Cell gridCurrent)
{
    m_current = gridCurrent;
    if (fila_previa < 1 || col_previa < 1 || gridCurrent == Cell{fila_previa, col_previa})
        return;
    fila_actual = fila_previa;
    col_actual = col_previa;
    select(ch, {fila_actual, col_actual});
    editando = false;
}

void Editor::setMarked(Cell c, bool marked)
{
    if (marked)
        m_marked.insert(key(c));
    else
        m_marked.remove(key(c));
}

Changes Editor::keyTyped(int charCode, Cell gridCurrent)
{
    Changes ch;
    if (charCode == 3 || charCode == 22) {
        ch.command = charCode == 3 ? Command::Copy : Command::Paste;
        return ch;
    }
    // A control character in a cell would read as 0 and end the readings
    // there when saved.
    if ((charCode < 32 && charCode != 8 && charCode != 13 && charCode != 27) || charCode == 127)
        return ch;
    backToHighlight(ch, gridCurrent);
    if (!editando) {
        Text2.clear();
        editando = true;
    }
    Text2 += QChar(charCode);
    return ch;
}

Changes Editor::keyReleased(int keyCode, Cell gridCurrent)
{
    Changes ch;
    backToHighlight(ch, gridCurrent);
    switch (keyCode) {
    case 8: // Backspace: drop the backspace character and the one before it
        if (Text2.size() < 2)
            Text2.clear();
        else
            Text2.chop(2);
        break;
    case 13: // Enter: drop the carriage return, go on to the next cell
        if (!Text2.isEmpty())
            Text2.chop(1);
        avanza_celda(ch);
        break;
    case 27: // Escape
    case 46: // Delete
        Text2.clear();
        break;
    default:
        break;
    }
    // What the operator typed shows as a number; a cell only passed over
    // (an arrow, Enter, Ctrl) keeps its text, whatever it holds.
    if (!editando && keyCode != 46)
        return ch;
    // Text that is not one number stays as typed and is marked, as a pasted
    // cell is: read as its leading number ("12abc" as 12) it would be saved as
    // a value the operator never meant.
    const gridtext::Cleaned typed = gridtext::typedCell(Text2, m_locale());
    ch.write = m_current;
    ch.text = typed.text;
    ch.modified = ch.text != m_cellText(m_current);
    setMarked(m_current, typed.attention);
    return ch;
}

} // namespace gridedit

} // namespace veldesk
