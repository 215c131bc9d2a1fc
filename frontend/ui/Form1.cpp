#include "Form1.h"

#include "Module1.h"
#include "about.h"
#include "datafile.h"
#include "filedrop.h"
#include "flexgrid.h"
#include "gridtext.h"
#include "icons.h"
#include "layout.h"
#include "report.h"
#include "saveflow.h"
#include "seam.h"
#include "selectdir.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace veldesk {

namespace {

using gridedit::kCols;
using gridedit::kRows;

const QColor kHighlight(255, 255, 192);
const QColor kPlain(255, 255, 255);
const QColor kModified(225, 0, 0);
const QColor kAttention(255, 200, 140); // a pasted cell that is not a number

const QString kTitle = QStringLiteral("VELDESK " VELDESK_VERSION);

// Keeps the grid's scroll position while the program moves its current cell
// (which would otherwise scroll the moved-to cell into view).
class KeepScroll {
public:
    explicit KeepScroll(FlexGrid* g)
        : m_grid(g), m_v(g->verticalScrollBar()->value()), m_h(g->horizontalScrollBar()->value()) {}
    ~KeepScroll()
    {
        m_grid->verticalScrollBar()->setValue(m_v);
        m_grid->horizontalScrollBar()->setValue(m_h);
    }

private:
    FlexGrid* m_grid;
    int m_v, m_h;
};

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent)
    , editor([this](gridedit::Cell c) { return Gr1->textMatrix(c.row, c.col); }, [] { return operatorLocale(); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(buttonIcon(QStringLiteral("app")));
    buildControls();
    updateEvaluateState(); // disabled until a name is given, a save or an open

    m_evaluation = std::make_unique<Evaluation>(this, [this] { return Text1[3]->text(); });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { m_evaluation->tick(); });

    connect(Gr1, &FlexGrid::keyTyped, this, &Form1::gridKeyTyped);
    connect(Gr1, &FlexGrid::keyReleased, this, &Form1::gridKeyReleased);
    connect(Gr1, &FlexGrid::selectionChangedByOperator, this, &Form1::gridSelectionChanged);
    connect(Text1[3], &QLineEdit::textChanged, this, &Form1::fileNameChanged);
    connect(Command1, &QToolButton::clicked, this, [this] { m_evaluation->start(); });
    connect(Command2, &QToolButton::clicked, this, [this] {
        if (confirmDiscardOrSave())
            QCoreApplication::exit(0);
    });
    // Edits of what Save writes from the boxes (not the file name) are changes
    // of the data set.
    for (int i = 0; i <= 2; ++i)
        connect(Text1[i], &QLineEdit::textEdited, this, &Form1::showModified);
    connect(Command3, &QPushButton::clicked, this, [this] {
        selectdir dlg(this);
        if (dlg.exec() == QDialog::Accepted)
            Text1[3]->setText(dlg.composedPath());
    });
    connect(Command4, &QToolButton::clicked, this, &Form1::saveDataSet);
    connect(Command5, &QToolButton::clicked, this, &Form1::openDataSet);
    connect(Command6, &QToolButton::clicked, this, [this] {
        about dlg(this);
        dlg.exec();
    });
    connect(Command7, &QToolButton::clicked, this, &Form1::copyGrid);
    connect(Command8, &QToolButton::clicked, this, &Form1::pasteGrid);
    connect(Command9, &QToolButton::clicked, this, &Form1::clearGrid);

    // A data-set file dropped on the window is opened, after the question
    // about unsaved changes.
    new DataSetDrop(this, [this](const QString& path) {
        if (confirmDiscardOrSave())
            openDataSetFile(path);
    });

    // Start-up.
    Gr1->setRowsCols(kRows + 1, kCols + 1);
    pinta_rejilla();
    Timer1->start();

    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void Form1::buildControls()
{
    setFont(layoutFont(8.25));
    resize(twips(0, 0, 7185, 6840).size());

    // Places in twips within the window, or within the Pipe Dimensions frame.
    Frame1 = control<QGroupBox>(this, QStringLiteral("Frame1"), twips(4680, 2280, 2415, 1455));
    Frame1->setTitle(QStringLiteral("Pipe Dimensions"));
    Frame1->setFont(layoutFont(8.25, true));

    const struct {
        QLabel*& label;
        QWidget* parent;
        const char* name;
        const char* text;
        QRect place;
    } labels[] = {
        {desc[1], this, "desc_1", "File Name:", twips(240, 360, 1095, 255)},
        {desc[0], this, "desc_0", "Description:", twips(240, 840, 1095, 255)},
        {Label1[0], this, "Label1_0", "Data (input): ", twips(240, 1440, 1095, 255)},
        {Label1[1], Frame1, "Label1_1", "ri  :", twips(120, 480, 495, 255)},
        {Label1[3], Frame1, "Label1_3", "(m)", twips(1800, 480, 495, 255)},
        {Label1[2], Frame1, "Label1_2", "h0  :", twips(120, 960, 495, 255)},
        {Label1[4], Frame1, "Label1_4", "(m)", twips(1800, 960, 495, 255)},
        // Lies below the designed client area: seen only in an enlarged window.
        {Label2, this, "Label2", "...", twips(240, 6960, 1455, 255)},
    };
    for (const auto& l : labels) {
        l.label = control<QLabel>(l.parent, QString::fromLatin1(l.name), l.place);
        l.label->setText(QString::fromLatin1(l.text));
    }

    const struct {
        QLineEdit*& box;
        QWidget* parent;
        const char* name;
        const char* text;
        QRect place;
    } boxes[] = {
        {Text1[3], this, "Text1_3", "data.pd", twips(1560, 360, 3975, 285)},
        {Text1[0], this, "Text1_0", "V.Arezo Input data", twips(1560, 840, 3975, 285)},
        {Text2, this, "Text2", "Text2", twips(2520, 1440, 1215, 285)},
        {Text1[1], Frame1, "Text1_1", "0.018", twips(720, 480, 855, 285)},
        {Text1[2], Frame1, "Text1_2", "0.30", twips(720, 960, 855, 285)},
    };
    for (const auto& b : boxes) {
        b.box = control<QLineEdit>(b.parent, QString::fromLatin1(b.name), b.place);
        b.box->setText(QString::fromLatin1(b.text));
    }

    Command3 = control<QPushButton>(this, QStringLiteral("Command3"), twips(5520, 360, 255, 255));
    Command3->setText(QStringLiteral("..."));

    // Buttons with a picture above the caption.
    const struct {
        QToolButton*& button;
        const char* name;
        const char* text;
        const char* picture;
        QRect place;
        int pictureSize;
    } buttons[] = {
        {Command6, "Command6", "Help", "help", twips(6240, 480, 735, 615), 20},
        {Command5, "Command5", "Open", "open", twips(5400, 1320, 735, 615), 20},
        {Command4, "Command4", "Save", "save", twips(6240, 1320, 735, 615), 20},
        {Command9, "Command9", "Clear", "clear", twips(4680, 4080, 735, 735), 20},
        {Command7, "Command7", "Copy ", "copy", twips(5520, 4080, 735, 735), 20},
        {Command8, "Command8", "Paste", "paste", twips(6360, 4080, 735, 735), 20},
        {Command1, "Command1", "Evaluate", "evaluate", twips(4680, 5880, 1455, 855), 32},
        {Command2, "Command2", "Exit", "exit", twips(6360, 5880, 735, 855), 32},
    };
    for (const auto& b : buttons) {
        b.button = control<QToolButton>(this, QString::fromLatin1(b.name), b.place);
        b.button->setText(QString::fromLatin1(b.text));
        b.button->setIcon(buttonIcon(QString::fromLatin1(b.picture)));
        b.button->setIconSize(QSize(b.pictureSize, b.pictureSize));
        b.button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b.button->setFocusPolicy(Qt::StrongFocus);
    }

    Gr1 = control<FlexGrid>(this, QStringLiteral("Gr1"), twips(120, 1800, 4335, 4935));
    Gr1->setFont(layoutFont(9.75));

    Label1[0]->setFont(layoutFont(8.25, true));
    for (QWidget* w : Frame1->findChildren<QWidget*>())
        w->setFont(layoutFont(8.25));
    Label1[1]->setToolTip(QStringLiteral("tube internal radius"));
    Label1[2]->setToolTip(QStringLiteral("level at time = 0"));
    Text2->setVisible(false);
    Text2->setFocusPolicy(Qt::NoFocus);
    Label2->setAutoFillBackground(true);

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Text1[0]);
    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Text1[2]);
    setTabOrder(Text1[2], Gr1);
    setTabOrder(Gr1, Text1[3]);
    setTabOrder(Text1[3], Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, Command6);
    setTabOrder(Command6, Command7);
    setTabOrder(Command7, Command8);
    setTabOrder(Command8, Command9);

}

Form1::~Form1() = default;

void Form1::pinta_rejilla()
{
    Gr1->setTextMatrix(0, 0, QStringLiteral("No"));
    Gr1->setColWidthTwips(0, 400);
    Gr1->setCellFontName(0, 1, QStringLiteral("Symbol"));
    Gr1->setTextMatrix(0, 1, QStringLiteral("Dq"));
    Gr1->setColWidthTwips(1, 1000);
    Gr1->setTextMatrix(0, 2, QStringLiteral("t 1/2"));
    Gr1->setColWidthTwips(2, 1000);
    Gr1->setTextMatrix(0, 3, QStringLiteral("t fin"));
    Gr1->setColWidthTwips(3, 1000);
    for (int i = 1; i <= kRows; ++i)
        Gr1->setTextMatrix(i, 0, QString::number(i));
    editor.clearMarks(); // the grid has just been emptied of every colour
    apply(editor.firstCell());
}

gridedit::Cell Form1::gridCurrent() const
{
    return {Gr1->row(), Gr1->col()};
}

void Form1::apply(const gridedit::Changes& ch)
{
    for (const gridedit::Cell& c : ch.unlit)
        Gr1->setCellBackColor(c.row, c.col, restingColor(c));
    if (ch.lit) {
        Gr1->setRowCol(ch.lit->row, ch.lit->col);
        Gr1->setCellBackColor(ch.lit->row, ch.lit->col, kHighlight);
    }
    Text2->setText(editor.Text2);
    if (ch.write)
        Gr1->setTextMatrix(ch.write->row, ch.write->col, ch.text);
    if (ch.modified)
        showModified();
    if (ch.command == gridedit::Command::Copy)
        copyGrid();
    else if (ch.command == gridedit::Command::Paste)
        pasteGrid();
}

QColor Form1::restingColor(gridedit::Cell c) const
{
    return editor.isMarked(c) ? kAttention : kPlain;
}

void Form1::showModified()
{
    setMarkerModified();
    updateEvaluateState();
}

// The one place that decides whether Evaluate is offered. The engine reads
// the file, not the window: Evaluate needs a file-name box that names a
// readable file and a window without changes the file lacks. At start-up it
// waits for a name to be given, or for a save or an open.
void Form1::updateEvaluateState()
{
    Command1->setEnabled(m_nameGiven && !m_modified && Module1::existe_archivo(Text1[3]->text()) == 1);
}

void Form1::gridSelectionChanged()
{
    apply(editor.selectionChanged(gridCurrent()));
}

void Form1::gridKeyTyped(int charCode)
{
    apply(editor.keyTyped(charCode, gridCurrent()));
}

void Form1::gridKeyReleased(int keyCode)
{
    apply(editor.keyReleased(keyCode, gridCurrent()));
}

void Form1::fileNameChanged()
{
    if (Module1::existe_archivo(Text1[3]->text()) == 1)
        Command4->setEnabled(true);
    m_nameGiven = true;
    updateEvaluateState();
}

void Form1::setMarkerModified()
{
    m_modified = true;
    setWindowTitle(kTitle + QLatin1Char('*')); // seen without enlarging the window
    Label2->setText(QStringLiteral("modified"));
    QPalette p = Label2->palette();
    p.setColor(QPalette::Window, kModified);
    Label2->setPalette(p);
}

void Form1::clearMarker()
{
    m_modified = false;
    setWindowTitle(kTitle);
    Label2->setText(QString());
    QPalette p = Label2->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Button));
    Label2->setPalette(p);
}

void Form1::copyGrid()
{
    KeepScroll keep(Gr1);
    QClipboard* clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(gridtext::forOtherPrograms(Gr1->clipText(0, 0, kRows, kCols), operatorLocale()));
    Gr1->setRowCol(0, 0);
}

Form1::Pasted Form1::layPaste()
{
    KeepScroll keep(Gr1);
    const QString before = Gr1->clipText(1, 1, kRows, kCols);
    // Rows end at any line end; cells the text does not reach keep their text.
    const QList<QStringList> rows = gridtext::splitRows(QGuiApplication::clipboard()->text());
    Pasted pasted;
    pasted.leftOut = gridtext::rowsLeftOut(rows, kRows);
    for (int i = 0; i < rows.size() && i < kRows; ++i)
        for (int j = 0; j < rows.at(i).size() && j < kCols; ++j)
            Gr1->setTextMatrix(i + 1, j + 1, rows.at(i).at(j));
    // Every cell then shows the value Save will write, in the operator's
    // format; a cell that is not one number keeps its text and is marked.
    const QLocale locale = operatorLocale();
    for (int c = 1; c <= kCols; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            const gridtext::Cleaned cleaned = gridtext::cleanCell(Gr1->textMatrix(r, c), locale);
            Gr1->setTextMatrix(r, c, cleaned.text);
            const bool wasMarked = editor.isMarked({r, c});
            editor.setMarked({r, c}, cleaned.attention);
            pasted.attention += cleaned.attention ? 1 : 0;
            if ((wasMarked || cleaned.attention) && !(r == fila_previa && c == col_previa))
                Gr1->setCellBackColor(r, c, restingColor({r, c}));
        }
    }
    Gr1->viewport()->update();
    Gr1->setRowCol(kRows, kCols);
    editando = false; // the next key starts a new value, not one on top of the pasted text
    if (Gr1->clipText(1, 1, kRows, kCols) != before)
        showModified();
    return pasted;
}

void Form1::pasteGrid()
{
    const Pasted pasted = layPaste();
    // One message for the whole paste, once the grid is back in its place.
    QStringList said;
    if (pasted.attention == 1)
        said << QStringLiteral("1 cell of the readings is not a number. It keeps its text and is marked in orange;"
                               " correct it before saving.");
    else if (pasted.attention > 1)
        said << QString::number(pasted.attention)
                    + QStringLiteral(" cells of the readings are not numbers. They keep their text and are marked"
                                     " in orange; correct them before saving.");
    // Rows beyond the grid's last are not kept anywhere: the operator learns it now.
    if (pasted.leftOut == 1)
        said << QStringLiteral("1 pasted row did not fit into the grid's %1 rows and was left out.").arg(kRows);
    else if (pasted.leftOut > 1)
        said << QStringLiteral("%1 pasted rows did not fit into the grid's %2 rows and were left out.")
                    .arg(pasted.leftOut)
                    .arg(kRows);
    if (!said.isEmpty())
        veldesk::showMessage(this, said.join(QLatin1Char('\n')), veldesk::MsgIcon::Information);
}

void Form1::clearGrid()
{
    const QString before = Gr1->clipText(1, 1, kRows, kCols);
    Gr1->clearAll();
    pinta_rejilla();
    if (Gr1->clipText(1, 1, kRows, kCols) != before)
        showModified();
}

bool Form1::confirmDiscardOrSave()
{
    if (!m_modified)
        return true;
    switch (veldesk::showMessage(this, QStringLiteral("The data set has unsaved changes. Save them?"),
                                 veldesk::MsgIcon::Question, veldesk::MsgButtons::SaveDiscardCancel)) {
    case veldesk::MsgAnswer::Save:
        saveDataSet();
        return !m_modified; // a refused, failed or cancelled save keeps the window open
    case veldesk::MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (confirmDiscardOrSave())
        event->accept();
    else
        event->ignore();
}

void Form1::saveDataSet()
{
    using veldesk::MsgAnswer;
    using veldesk::MsgButtons;
    using veldesk::MsgIcon;
    const QString path = Text1[3]->text();
    QList<datafile::Row> rows;
    for (int r = 1; r <= kRows; ++r)
        rows.append({Gr1->textMatrix(r, 1), Gr1->textMatrix(r, 2), Gr1->textMatrix(r, 3)});

    saveflow::Facts facts;
    facts.path = path;
    if (!path.isEmpty()) {
        datafile::checkDescription(Text1[0]->text(), &facts.descriptionProblem);
        facts.fileExists = Module1::existe_archivo(path) != 0;
        if (report::sameFile(m_openedPath, path))
            facts.unshown = m_openedUnshown;
    }
    facts.extent = datafile::extent(rows);
    const saveflow::Plan plan = saveflow::plan(facts);
    for (const saveflow::Step& step : plan.steps) {
        if (step.kind == saveflow::Step::Refuse) {
            veldesk::showMessage(this, step.text, MsgIcon::Critical);
            return;
        }
        if (veldesk::showMessage(this, step.text, MsgIcon::Question, MsgButtons::YesNo, QString(),
                                 step.defaultNo ? MsgAnswer::No : MsgAnswer::Yes)
            == MsgAnswer::No)
            return;
    }
    if (!plan.write)
        return;

    const QByteArray bytes = datafile::compose(Text1[0]->text(), Text1[1]->text(), Text1[2]->text(), rows);
    if (QString why; !datafile::write(path, bytes, &why)) {
        veldesk::showMessage(this, QStringLiteral("Unable to write file!\n") + why, MsgIcon::Critical, MsgButtons::Ok,
                             QStringLiteral("Error"));
        return;
    }
    if (report::sameFile(m_openedPath, path))
        m_openedUnshown.clear();
    clearMarker();
    veldesk::showMessage(this, QStringLiteral("File ") + path + QStringLiteral(" saved succesfully"),
                         MsgIcon::Information);
    m_nameGiven = true;
    updateEvaluateState();
}

void Form1::openDataSet()
{
    // Opening replaces what the window holds: unsaved changes are asked about first.
    if (!confirmDiscardOrSave())
        return;
    const QString name = veldesk::seam().openFileDialog(this, QStringLiteral("Open Data File"),
                                                        QStringLiteral("PD Data File"), QStringLiteral("*.pd"),
                                                        QStringLiteral("pd"), QStringLiteral("*.pd"));
    if (Module1::existe_archivo(name) == 0)
        return;
    openDataSetFile(name);
}

void Form1::openDataSetFile(const QString& name)
{
    if (Module1::existe_archivo(name) == 0) {
        veldesk::showMessage(this, QStringLiteral("Unable to open file ") + QDir::toNativeSeparators(name),
                             veldesk::MsgIcon::Critical);
        return;
    }
    // Loaded before the file-name box changes, so that a refused file leaves
    // the whole window as it was.
    if (!abrir_archivo(name))
        return;
    // Shown as the system writes paths ("\" on Windows, where the file
    // dialog and the command line may hand over "/").
    Text1[3]->setText(QDir::toNativeSeparators(name));
    clearMarker();
    m_nameGiven = true;
    updateEvaluateState();
    if (!m_openedUnshown.isEmpty())
        veldesk::showMessage(this,
                             QStringLiteral("File ") + name + QLatin1Char(' ') + m_openedUnshown
                                 + QStringLiteral(". Save asks before it replaces this file with fewer."),
                             veldesk::MsgIcon::Information);
}

bool Form1::abrir_archivo(const QString& nom)
{
    const datafile::Loaded data = datafile::read(nom);
    if (!data.opened)
        return false;
    if (data.refusal != datafile::Refusal::None) {
        veldesk::showMessage(this,
                             QStringLiteral("File ") + nom + QStringLiteral(" is not a data set: ")
                                 + datafile::refusalText(data.refusal)
                                 + QStringLiteral(".\nA data set holds a description line, a line with ri and h0"
                                                  " such as \"0.01800 , 0.30000\", then one line per reading."),
                             veldesk::MsgIcon::Critical);
        return false;
    }
    m_openedPath = nom;
    switch (data.unshown) {
    case datafile::Unshown::None: m_openedUnshown.clear(); break;
    case datafile::Unshown::BeyondGrid:
        m_openedUnshown = QStringLiteral("holds more than %1 readings; only the first %1 are shown").arg(kRows);
        break;
    case datafile::Unshown::AfterStop:
        m_openedUnshown = QStringLiteral("holds more data than the %1 reading(s) shown: loading ends after a"
                                         " reading whose values multiply to zero or less, and at a value that"
                                         " is not a number")
                              .arg(data.readings.size());
        break;
    }
    Gr1->clearAll();
    pinta_rejilla();
    Gr1->setRowCol(0, Gr1->col());
    Text1[0]->setText(data.description);
    Text1[1]->setText(data.ri);
    Text1[2]->setText(data.h0);
    // The readings go in below the current row, which ends on the last one.
    for (const datafile::Row& reading : data.readings) {
        const int r = Gr1->row() + 1;
        for (int c = 1; c <= kCols; ++c) {
            Gr1->setRowCol(r, c);
            Gr1->setTextMatrix(r, c, reading[c - 1]);
        }
    }
    Gr1->scrollToTop(); // a freshly opened data set is seen from its first reading
    return true;
}

} // namespace veldesk
