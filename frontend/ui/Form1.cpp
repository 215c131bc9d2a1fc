#include "Form1.h"

#include "Module1.h"
#include "about.h"
#include "datafile.h"
#include "filedrop.h"
#include "flexgrid.h"
#include "icons.h"
#include "layout.h"
#include "seam.h"
#include "selectdir.h"

#include <QApplication>
#include <QClipboard>
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

namespace {

constexpr int kRows = 100; // data rows of the grid
constexpr int kCols = 3;   // dtheta, t 1/2, t fin

const QColor kHighlight(255, 255, 192);
const QColor kPlain(255, 255, 255);
const QColor kModified(225, 0, 0);

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
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VELDESK 1.0"));
    setWindowIcon(buttonIcon(QStringLiteral("app")));
    setFont(layoutFont(8.25));
    resize(479, 456);

    const auto label = [this](QWidget* parent, const QString& name, const QString& text, QRect geo) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(name);
        l->setGeometry(geo);
        return l;
    };
    const auto box = [](QWidget* parent, const QString& name, const QString& text, QRect geo) {
        auto* e = new QLineEdit(text, parent);
        e->setObjectName(name);
        e->setGeometry(geo);
        return e;
    };
    const auto iconButton = [this](const QString& name, const QString& text, const QString& icon, QRect geo) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setIcon(buttonIcon(icon));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setGeometry(geo);
        return b;
    };

    desc[1] = label(this, QStringLiteral("desc_1"), QStringLiteral("File Name:"), {16, 24, 73, 17});
    Text1[3] = box(this, QStringLiteral("Text1_3"), QStringLiteral("data.pd"), {104, 24, 265, 19});
    Command3 = new QPushButton(QStringLiteral("..."), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(368, 24, 17, 17);
    desc[0] = label(this, QStringLiteral("desc_0"), QStringLiteral("Description:"), {16, 56, 73, 17});
    Text1[0] = box(this, QStringLiteral("Text1_0"), QStringLiteral("V.Arezo Input data"), {104, 56, 265, 19});
    Command6 = iconButton(QStringLiteral("Command6"), QStringLiteral("Help"), QStringLiteral("help"), {416, 32, 49, 41});
    Label1[0] = label(this, QStringLiteral("Label1_0"), QStringLiteral("Data (input): "), {16, 96, 73, 17});
    Label1[0]->setFont(layoutFont(8.25, true));
    Text2 = box(this, QStringLiteral("Text2"), QStringLiteral("Text2"), {168, 96, 81, 19});
    Text2->setVisible(false);
    Text2->setFocusPolicy(Qt::NoFocus);
    Command5 = iconButton(QStringLiteral("Command5"), QStringLiteral("Open"), QStringLiteral("open"), {360, 88, 49, 41});
    Command4 = iconButton(QStringLiteral("Command4"), QStringLiteral("Save"), QStringLiteral("save"), {416, 88, 49, 41});

    Gr1 = new FlexGrid(this);
    Gr1->setObjectName(QStringLiteral("Gr1"));
    Gr1->setGeometry(8, 120, 289, 329);
    Gr1->setFont(layoutFont(9.75));

    Frame1 = new QGroupBox(QStringLiteral("Pipe Dimensions"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(312, 152, 161, 97);
    Frame1->setFont(layoutFont(8.25, true));
    Label1[1] = label(Frame1, QStringLiteral("Label1_1"), QStringLiteral("ri  :"), {8, 32, 33, 17});
    Label1[1]->setToolTip(QStringLiteral("tube internal radius"));
    Text1[1] = box(Frame1, QStringLiteral("Text1_1"), QStringLiteral("0.018"), {48, 32, 57, 19});
    Label1[3] = label(Frame1, QStringLiteral("Label1_3"), QStringLiteral("(m)"), {120, 32, 33, 17});
    Label1[2] = label(Frame1, QStringLiteral("Label1_2"), QStringLiteral("h0  :"), {8, 64, 33, 17});
    Label1[2]->setToolTip(QStringLiteral("level at time = 0"));
    Text1[2] = box(Frame1, QStringLiteral("Text1_2"), QStringLiteral("0.30"), {48, 64, 57, 19});
    Label1[4] = label(Frame1, QStringLiteral("Label1_4"), QStringLiteral("(m)"), {120, 64, 33, 17});
    for (QWidget* w : {static_cast<QWidget*>(Label1[1]), static_cast<QWidget*>(Text1[1]),
                       static_cast<QWidget*>(Label1[3]), static_cast<QWidget*>(Label1[2]),
                       static_cast<QWidget*>(Text1[2]), static_cast<QWidget*>(Label1[4])})
        w->setFont(layoutFont(8.25));

    Command9 = iconButton(QStringLiteral("Command9"), QStringLiteral("Clear"), QStringLiteral("clear"), {312, 272, 49, 49});
    Command7 = iconButton(QStringLiteral("Command7"), QStringLiteral("Copy "), QStringLiteral("copy"), {368, 272, 49, 49});
    Command8 = iconButton(QStringLiteral("Command8"), QStringLiteral("Paste"), QStringLiteral("paste"), {424, 272, 49, 49});
    Command1 = iconButton(QStringLiteral("Command1"), QStringLiteral("Evaluate"), QStringLiteral("evaluate"), {312, 392, 97, 57});
    Command1->setIconSize(QSize(32, 32));
    Command1->setEnabled(false);
    Command2 = iconButton(QStringLiteral("Command2"), QStringLiteral("Exit"), QStringLiteral("exit"), {424, 392, 49, 57});
    Command2->setIconSize(QSize(32, 32));

    // Lies below the designed client area: seen only in an enlarged window.
    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("..."), {16, 464, 97, 17});
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
    connect(Command2, &QToolButton::clicked, this, [] { QCoreApplication::exit(0); });
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
    fila_actual = 1;
    col_actual = 1;
    selecciona_celda(col_actual, fila_actual);
}

void Form1::selecciona_celda(int col, int row)
{
    if (fila_previa >= 1 && col_previa >= 1)
        Gr1->setCellBackColor(fila_previa, col_previa, kPlain);
    Gr1->setRowCol(row, col);
    Gr1->setCellBackColor(row, col, kHighlight);
    fila_previa = row;
    col_previa = col;
    Text2->setText(Gr1->textMatrix(Gr1->row(), Gr1->col()));
}

void Form1::avanza_celda()
{
    editando = false;
    if (col_actual < kCols) {
        ++col_actual;
    } else if (fila_actual < kRows) {
        ++fila_actual;
        col_actual = 1;
    }
    selecciona_celda(col_actual, fila_actual);
}

void Form1::gridSelectionChanged()
{
    fila_actual = Gr1->row();
    col_actual = Gr1->col();
    selecciona_celda(col_actual, fila_actual);
    editando = false;
}

// Copy, Paste and Open leave the grid's current cell where they finished (a
// heading cell after Copy, the last cell written after Open or Paste) while
// the highlight stays where the operator sees it. A key pressed in the grid
// then goes to the highlighted cell, with the buffer reloaded from it: sent
// to that far cell it would overwrite a heading or, with a key as harmless
// as Ctrl, turn the last reading into 0.
void Form1::vuelve_a_celda_resaltada()
{
    if (fila_previa < 1 || col_previa < 1 || (Gr1->row() == fila_previa && Gr1->col() == col_previa))
        return;
    fila_actual = fila_previa;
    col_actual = col_previa;
    selecciona_celda(col_actual, fila_actual);
    editando = false;
}

void Form1::gridKeyTyped(int charCode)
{
    vuelve_a_celda_resaltada();
    if (!editando) {
        Text2->clear();
        editando = true;
    }
    Text2->setText(Text2->text() + QChar(charCode));
}

void Form1::gridKeyReleased(int keyCode)
{
    vuelve_a_celda_resaltada();
    QString buffer = Text2->text();
    switch (keyCode) {
    case 8: // Backspace: drop the backspace character and the one before it
        if (buffer.size() < 2)
            buffer.clear();
        else
            buffer.chop(2);
        Text2->setText(buffer);
        break;
    case 13: // Enter: drop the carriage return, go on to the next cell
        if (!buffer.isEmpty())
            Text2->setText(buffer.left(buffer.size() - 1));
        avanza_celda();
        break;
    case 27: // Escape
    case 46: // Delete
        Text2->clear();
        break;
    default:
        break;
    }
    // Whatever the key, the current cell shows the buffer as a number.
    const double value = Module1::leer_celda(Text2->text(), operatorLocale());
    Gr1->setTextMatrix(Gr1->row(), Gr1->col(), Module1::numero_general(value, operatorLocale()));
    setMarkerModified();
    Command1->setEnabled(false);
}

void Form1::fileNameChanged()
{
    if (Module1::existe_archivo(Text1[3]->text()) == 1) {
        Command4->setEnabled(true);
        Command1->setEnabled(true);
    } else {
        Command1->setEnabled(false);
    }
}

void Form1::setMarkerModified()
{
    Label2->setText(QStringLiteral("modified"));
    QPalette p = Label2->palette();
    p.setColor(QPalette::Window, kModified);
    Label2->setPalette(p);
}

void Form1::clearMarker()
{
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
    clip->setText(Gr1->clipText(0, 0, kRows, kCols));
    Gr1->setRowCol(0, 0);
}

void Form1::pasteGrid()
{
    KeepScroll keep(Gr1);
    const QString text = QGuiApplication::clipboard()->text();
    // A clipboard without text leaves every cell as it was.
    if (!text.isEmpty())
        Gr1->layClip(1, 1, kRows, kCols, text);
    // Numbers above 0 are shown in the operator's format; in the time column
    // an empty cell also empties the water content beside it, which removes
    // stray fragments such as the line feed left after the last CR-LF.
    const QLocale locale = operatorLocale();
    for (int c = 1; c <= kCols; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            const double v = Module1::leer_celda(Gr1->textMatrix(r, c), locale);
            if (v > 0)
                Gr1->setTextMatrix(r, c, Module1::numero_general(v, locale));
            if (c == 2 && Gr1->textMatrix(r, 2).isEmpty())
                Gr1->setTextMatrix(r, 1, QString());
        }
    }
    Gr1->viewport()->update();
    Gr1->setRowCol(kRows, kCols);
}

void Form1::clearGrid()
{
    Gr1->clearAll();
    pinta_rejilla();
}

void Form1::saveDataSet()
{
    const QString path = Text1[3]->text();
    if (Module1::existe_archivo(path) != 0
        && veldesk::showMessage(this, QStringLiteral("File ") + path + QStringLiteral(" exists. Overwrite?"),
                                veldesk::MsgIcon::Question, veldesk::MsgButtons::YesNo)
            == veldesk::MsgAnswer::No)
        return;
    if (path.isEmpty())
        return;

    QList<datafile::Row> rows;
    for (int r = 1; r <= kRows; ++r)
        rows.append({Gr1->textMatrix(r, 1), Gr1->textMatrix(r, 2), Gr1->textMatrix(r, 3)});
    const QByteArray bytes = datafile::compose(Text1[0]->text(), Text1[1]->text(), Text1[2]->text(), rows);
    if (!datafile::write(path, bytes)) {
        veldesk::showMessage(this, QStringLiteral("Unable to write file!"), veldesk::MsgIcon::Critical,
                             veldesk::MsgButtons::Ok, QStringLiteral("Error"));
        return;
    }
    clearMarker();
    veldesk::showMessage(this, QStringLiteral("File ") + path + QStringLiteral(" saved succesfully"),
                         veldesk::MsgIcon::Information);
    Command1->setEnabled(true);
}

void Form1::openDataSet()
{
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
    Text1[3]->setText(name);
    abrir_archivo(Text1[3]->text());
    Command1->setEnabled(true);
    clearMarker();
}

// The question about unsaved changes comes with the change-tracking of the
// data set; until then there is nothing to lose and the answer is go ahead.
bool Form1::confirmDiscardOrSave()
{
    return true;
}

void Form1::abrir_archivo(const QString& nom)
{
    const datafile::Loaded data = datafile::read(nom);
    if (!data.opened)
        return;
    Gr1->clearAll();
    pinta_rejilla();
    Gr1->setRowCol(0, Gr1->col());
    if (data.hasDescription)
        Text1[0]->setText(data.description);
    if (data.hasPipe) {
        Text1[1]->setText(data.ri);
        Text1[2]->setText(data.h0);
    }
    // The readings go in below the current row, which ends on the last one.
    for (const datafile::Row& reading : data.readings) {
        const int r = Gr1->row() + 1;
        for (int c = 1; c <= kCols; ++c) {
            Gr1->setRowCol(r, c);
            Gr1->setTextMatrix(r, c, reading[c - 1]);
        }
    }
    Gr1->scrollToTop(); // a freshly opened data set is seen from its first reading
}
