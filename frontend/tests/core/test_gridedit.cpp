// The grid's keyboard editing, one key sequence per case, played against a
// grid of plain texts that applies the changes the editor returns.
#include "gridedit.h"

#include "test_support.h"

#include <QMap>

using namespace veldesk;

using gridedit::Cell;

namespace {

// A stand-in for the grid: cell texts, the current cell, the highlighted cell
// and the marker, driven the way the grid control reports keys.
struct Desk {
    QMap<std::pair<int, int>, QString> text;
    QLocale locale{QLocale::English, QLocale::UnitedStates};
    Cell current;
    Cell lit;
    bool modified = false;
    QList<gridedit::Command> commands;
    gridedit::Editor ed{[this](Cell c) { return text.value({c.row, c.col}); }, [this] { return locale; }};

    Desk() { apply(ed.firstCell()); }

    void apply(const gridedit::Changes& ch)
    {
        if (ch.lit)
            current = lit = *ch.lit;
        if (ch.write)
            text[{ch.write->row, ch.write->col}] = ch.text;
        modified = modified || ch.modified;
        if (ch.command != gridedit::Command::None)
            commands << ch.command;
    }
    // Ctrl with a letter: the control character, then the two releases.
    void ctrl(char letter)
    {
        apply(ed.keyTyped(letter - 'A' + 1, current));
        apply(ed.keyReleased(letter, current));
        apply(ed.keyReleased(17, current));
    }
    // A key that yields a character: typed, then released.
    void type(QChar ch, int keyCode)
    {
        apply(ed.keyTyped(ch.unicode(), current));
        apply(ed.keyReleased(keyCode, current));
    }
    // An arrow: the grid moves its current cell, reports the operator's
    // selection, then the release.
    void arrow(int dr, int dc, int keyCode)
    {
        current = {std::clamp(current.row + dr, 1, 100), std::clamp(current.col + dc, 1, 3)};
        apply(ed.selectionChanged(current));
        apply(ed.keyReleased(keyCode, current));
    }
    // Keys written as text: ">" Enter, "<" Backspace, "!" Escape, "#" Delete,
    // "^" "v" "[" "]" arrows up, down, left, right, "@" "%" "~" Ctrl+C, Ctrl+V,
    // Ctrl+A; "*" and "$" leave the grid's current cell where the Copy and
    // Paste buttons do (headings, last cell); anything else is typed.
    void play(const QString& keys)
    {
        for (const QChar k : keys) {
            switch (k.unicode()) {
            case '>': type(QChar(13), 13); break;
            case '<': type(QChar(8), 8); break;
            case '!': type(QChar(27), 27); break;
            case '#': apply(ed.keyReleased(46, current)); break;
            case '^': arrow(-1, 0, 38); break;
            case 'v': arrow(1, 0, 40); break;
            case '[': arrow(0, -1, 37); break;
            case ']': arrow(0, 1, 39); break;
            case '@': ctrl('C'); break;
            case '%': ctrl('V'); break;
            case '~': ctrl('A'); break;
            case '*': current = {0, 0}; break;
            case '$': current = {100, 3}; break;
            case '.': type(k, 190); break;
            case ',': type(k, 188); break;
            default: type(k, k.toUpper().unicode()); break;
            }
        }
    }
    // Rows r1..r2 of the readings, cells joined by "|", rows by "/".
    QString rows(int r1, int r2) const
    {
        QStringList out;
        for (int r = r1; r <= r2; ++r)
            out << QStringList{text.value({r, 1}), text.value({r, 2}), text.value({r, 3})}.join('|');
        return out.join('/');
    }
};

struct KeyCase {
    const char* keys;
    const char* rows12; // rows 1 and 2 afterwards
    Cell lit;           // highlighted cell afterwards
    bool modified;
};

} // namespace

TEST(GridEdit, KeySequencesLeaveTheseCellsHighlightAndMarker)
{
    const KeyCase cases[] = {
        {"0.25", "0.25||/||", {1, 1}, true},
        {"1.50>12abc>2.5e2>abc>", "1.5|12abc|250/abc||", {2, 2}, true}, // not one number: kept as typed
        {"1,5>", "1.5||/||", {1, 2}, true},          // a comma is a decimal mark under "." settings too
        {"1,250>1 234>", "1250|1234|/||", {1, 3}, true}, // digit groups, as Paste reads them
        {"12<", "1||/||", {1, 1}, true},
        {"7][3", "3||/||", {1, 1}, true},             // the first key in a cell replaces its value
        {"7][<", "0||/||", {1, 1}, true},             // as first key Backspace empties the buffer
        {"9!", "0||/||", {1, 1}, true},
        {"8#", "0||/||", {1, 1}, true},
        {"#", "0||/||", {1, 1}, true},
        {"v]^[>", "||/||", {1, 2}, false},             // moving never writes, not even a 0
        {"5>6>7>8", "5|6|7/8||", {2, 1}, true},        // Enter in column 3 wraps to the next row
        {"4~5", "45||/||", {1, 1}, true},              // control characters never reach a cell
        {"4@", "4||/||", {1, 1}, true},
        {"]%", "||/||", {1, 2}, false},
        {"5>*7", "5|7|/||", {1, 2}, true},             // after Copy a key goes to the highlighted cell
        {"5>$~", "5||/||", {1, 2}, true},              // after Paste too, and writes nothing there
    };
    for (const KeyCase& c : cases) {
        Desk d;
        d.play(QString::fromUtf8(c.keys));
        EXPECT_EQ(d.rows(1, 2), c.rows12) << c.keys;
        EXPECT_EQ(d.lit, c.lit) << c.keys;
        EXPECT_EQ(d.modified, c.modified) << c.keys;
        for (const auto& [row, col] : d.text.keys()) // nothing written to headings or far cells
            EXPECT_TRUE(row >= 1 && row <= 2 && col >= 1) << c.keys;
    }
}

TEST(GridEdit, MovingOverCellsKeepsTheirTextsTypingClearsAMark)
{
    Desk d;
    d.text[{1, 1}] = "0,25"; // pasted under "." settings, where the typed comma would end the number
    d.text[{1, 2}] = "abc";
    d.ed.setMarked({1, 2}, true);
    d.play("]v^[>[");
    d.current = {100, 3}; // after Paste
    d.play("@%");
    EXPECT_EQ(d.rows(1, 2), "0,25|abc|/||");
    EXPECT_FALSE(d.modified);
    EXPECT_EQ(d.commands, (QList<gridedit::Command>{gridedit::Command::Copy, gridedit::Command::Paste}));
    EXPECT_TRUE(d.ed.isMarked({1, 2}));
    d.play("]7");
    EXPECT_EQ(d.rows(1, 1), "0,25|7|");
    EXPECT_FALSE(d.ed.isMarked({1, 2}));
    EXPECT_TRUE(d.modified);
}

// A typed cell that is not one number is marked as a pasted one is, so that
// Save names it instead of writing its leading number; a number clears the mark.
TEST(GridEdit, TypedTextThatIsNotOneNumberIsMarked)
{
    const std::pair<const char*, bool> cases[] = {
        {"12abc", true}, {"1,2,3", true}, {"0.2 0.3", true}, {"-", true}, {"1e", true},
        {"12", false},   {"-0,5", false}, {"2.5E2", false},  {"", false},
    };
    for (const auto& [keys, marked] : cases) {
        Desk d;
        d.play(QString::fromUtf8(keys) + "#"); // Delete empties the cell: "0", never marked
        EXPECT_FALSE(d.ed.isMarked({1, 1})) << keys;
        Desk e;
        e.play(QString::fromUtf8(keys) + ">");
        EXPECT_EQ(e.ed.isMarked({1, 1}), marked) << keys;
        if (marked) {
            EXPECT_EQ(e.text.value({1, 1}), QString::fromUtf8(keys));
        }
    }
    Desk d;
    d.play("12abc");
    EXPECT_TRUE(d.ed.isMarked({1, 1}));
    d.play("<<<");
    EXPECT_EQ(d.rows(1, 1), "12||");
    EXPECT_FALSE(d.ed.isMarked({1, 1}));
}

TEST(GridEdit, CommaSettingsShowCommasAndLastCellStays)
{
    Desk d;
    d.locale = QLocale(QLocale::German, QLocale::Germany);
    d.play("0.25>1,5");
    EXPECT_EQ(d.rows(1, 1), "0,25|1,5|");

    d.current = {100, 3}; // a mouse click on the last cell
    d.apply(d.ed.selectionChanged(d.current));
    d.play("600>");
    EXPECT_EQ(d.text.value({100, 3}), "600");
    EXPECT_EQ(d.lit, (Cell{100, 3}));
}
