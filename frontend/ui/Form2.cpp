#include "Form2.h"

#include "Module1.h"
#include "analysis.h"
#include "flexgrid.h"
#include "gridtext.h"
#include "icons.h"
#include "layout.h"
#include "report.h"
#include "runtime_files.h"
#include "seam.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace veldesk {

using veldesk::MsgAnswer;
using veldesk::MsgButtons;
using veldesk::MsgIcon;

namespace {

constexpr int kCols = 11;
const QColor kFlagged(220, 50, 100);
const QColor kUnflagged(255, 255, 255);

// What the heading and unit rows show, column by column. A heading is either
// a text (in the Symbol typeface when marked) or a picture file; the copy as
// text puts a plain-text label in its place.
struct Column {
    int widthTwips;
    const char* heading;
    bool symbol;
    const char* picture;
    const char* unit;
    const char* plainHeading; // for the clipboard text; nullptr: as shown
};

const Column kColumns[kCols] = {
    {350, "", false, nullptr, "1", nullptr},
    {1000, "Dq", true, nullptr, "(cm3/cm3)", "D Theta"},
    {1000, "t 1/2", false, nullptr, "(s)", nullptr},
    {1000, "t max", false, nullptr, "(s)", nullptr},
    {1000, "do", true, nullptr, "", nullptr},
    {1000, "", false, "romax.ico", "", "ro max"},
    {1000, "", false, "romed.ico", "", "ro med"},
    {1000, "a", false, nullptr, "", nullptr},
    {1000, "Ks", false, nullptr, "(m/s)", nullptr},
    {1000, "", false, "ym.ico", "(m)", "Psi_m"},
    {250, "", false, nullptr, "", nullptr},
};

const QString kLoadError = QStringLiteral("Error in temporary file pd.out");

} // namespace

Form2::Form2(const QString& reportPath, const QString& dataSetPath, QWidget* parent)
    : QDialog(parent), m_report(reportPath), m_dataSet(dataSetPath)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Results"));
    buildControls();
    cargar();
}

void Form2::buildControls()
{
    setFixedSize(twips(0, 0, 11250, 5895).size());
    setFont(layoutFont(8));

    static const QRect labelPlaces[4] = {twips(360, 120, 5055, 255), twips(360, 360, 5055, 255),
                                         twips(5400, 600, 5535, 255), twips(5880, 120, 5055, 255)};
    for (int i = 0; i < 4; ++i) {
        Label1[i] = control<QLabel>(this, QStringLiteral("Label1_%1").arg(i), labelPlaces[i]);
    }
    Label1[0]->setFont(layoutFont(8, true));
    Label1[3]->setFont(layoutFont(8, true));
    Label1[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette darkBlue = Label1[2]->palette();
    darkBlue.setColor(QPalette::WindowText, QColor(0, 0, 192));
    Label1[2]->setPalette(darkBlue);

    Label2 = control<QLabel>(this, QStringLiteral("Label2"), twips(360, 720, 4695, 255));

    Gr2 = control<FlexGrid>(this, QStringLiteral("Gr2"), twips(360, 960, 10575, 4335));
    Gr2->setTextElideMode(Qt::ElideNone); // figures are shown as printed, never shortened

    // Buttons with a picture show it above the caption, as the fixed layout
    // was drawn for; "Save as..." is a plain button.
    const auto button = [this](const char* name, const QString& text, const QRect& place,
                               const QString& tip, const QString& picture) -> QAbstractButton* {
        QAbstractButton* b = nullptr;
        if (picture.isEmpty()) {
            auto* push = control<QPushButton>(this, QString::fromLatin1(name), place);
            push->setAutoDefault(false);
            b = push;
        } else {
            auto* tool = control<QToolButton>(this, QString::fromLatin1(name), place);
            tool->setIcon(buttonIcon(picture));
            tool->setIconSize(QSize(14, 14));
            tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b = tool;
        }
        b->setText(text);
        b->setToolTip(tip);
        return b;
    };
    Command4 = button("Command4", QStringLiteral("Save as..."), twips(9960, 360, 975, 255),
                      QStringLiteral("Save the results under another name"), QString());
    Command2 = button("Command2", QStringLiteral("Data to Clipboard"), twips(360, 5400, 1575, 495),
                      QStringLiteral("Copy the selected region as text"), QStringLiteral("data_clipboard"));
    Command3 = button("Command3", QStringLiteral("Image to Clipboard"), twips(2160, 5400, 1575, 495),
                      QStringLiteral("copy the entire grid as an image"), QStringLiteral("image_clipboard"));
    Command1 = button("Command1", QStringLiteral("OK"), twips(5880, 5400, 735, 495),
                      QStringLiteral("returns to the main window"), QStringLiteral("ok"));
    // In the free space of the bottom row, right-aligned with the grid.
    Command5 = button("Command5", QStringLiteral("Analysis\u2026"), twips(9960, 5400, 975, 495),
                      QStringLiteral("Statistics, design value and quality flags of the readings"), QString());

    connect(Command1, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(Command2, &QAbstractButton::clicked, this, &Form2::datosAlPortapapeles);
    connect(Command3, &QAbstractButton::clicked, this, &Form2::imagenAlPortapapeles);
    connect(Command4, &QAbstractButton::clicked, this, &Form2::guardarComo);
    connect(Command5, &QAbstractButton::clicked, this, &Form2::analisis);
}

bool Form2::setHeadings()
{
    for (int c = 1; c < kCols; ++c)
        Gr2->setColWidthTwips(c, kColumns[c].widthTwips);
    Gr2->setColWidthTwips(0, kColumns[0].widthTwips);
    for (int c = 1; c <= 9; ++c)
        Gr2->setColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);

    // The unit row is an ordinary row: it scrolls with the readings.
    const QColor unitBack = palette().color(QPalette::Active, QPalette::Mid);
    for (int c = 0; c < kCols; ++c) {
        const Column& col = kColumns[c];
        if (col.picture) {
            const QString file = findRuntimeFile(QString::fromLatin1(col.picture));
            const QPixmap picture(file);
            if (file.isEmpty() || picture.isNull())
                return false;
            Gr2->setCellPicture(0, c, picture);
        }
        if (c > 0) {
            Gr2->setTextMatrix(0, c, QString::fromLatin1(col.heading));
            if (col.symbol)
                Gr2->setCellFontName(0, c, QStringLiteral("Symbol"));
        }
        Gr2->setTextMatrix(1, c, QString::fromLatin1(col.unit));
        if (c >= 1 && c <= 9) {
            Gr2->setCellAlignment(1, c, Qt::AlignCenter);
            Gr2->setCellBackColor(1, c, unitBack);
        }
    }
    return true;
}

void Form2::cargar()
{
    Gr2->setRowsCols(kLoadingRows, kCols);
    // The grid row last written. Until the table is begun it is the heading
    // row, so a failure before that leaves the headings alone in the grid.
    int current = 0;
    const auto finish = [this, &current](bool failed) {
        if (failed)
            veldesk::showMessage(this, kLoadError);
        Gr2->setRowsCols(current + 1, kCols);
    };

    Label2->setText(QStringLiteral("Temp. File: ") + QDir::toNativeSeparators(m_report));
    m_resultsCopy = report::resultsCopyPathFor(m_dataSet);
    // A data set named "pd.pd" has the report itself as its results copy;
    // copiar leaves a file copied onto itself untouched.
    if (!report::copiar(m_report, m_resultsCopy))
        return finish(true);
    Label1[3]->setText(QStringLiteral("Results: ") + QDir::toNativeSeparators(m_resultsCopy));

    if (!setHeadings())
        return finish(true);
    for (int r = 2; r < kLoadingRows; ++r)
        Gr2->setTextMatrix(r, 0, QString::number(r));

    QStringList lines;
    if (!report::readLines(m_report, &lines))
        return finish(true);
    const report::ParsedReport parsed = report::parseReport(lines);
    for (int i = 0; i < parsed.header.size(); ++i)
        Label1[i]->setText(parsed.header.at(i));
    if (parsed.tableBegun)
        current = 1; // the unit row
    // Columns 1 to 9 show the engine's fields as printed, each cut at the
    // engine's own columns; column 10 the W text's middle character.
    static constexpr report::Field shown[9] = {report::DTheta, report::THalf, report::TFin,
                                               report::Delta0, report::RoMax, report::RoMed,
                                               report::A,      report::Ks,    report::PsiM};
    const report::GridLoad load = report::gridLoad(parsed, report::kResultsGridReadings);
    for (int i = 0; i < load.filled; ++i) {
        const report::ReportRow& row = parsed.rows.at(i);
        ++current;
        for (int c = 0; c < 9; ++c)
            Gr2->setTextMatrix(current, c + 1, row.fields[shown[c]]);
        Gr2->setTextMatrix(current, 10, row.fields[report::WText].mid(1, 1));
        Gr2->setCellBackColor(current, 10, row.wMarked() ? kFlagged : kUnflagged);
    }
    if (load.stopRow)
        ++current; // the row that ended the table stays, empty
    finish(load.error);
}

void Form2::datosAlPortapapeles()
{
    for (int c = 0; c < kCols; ++c)
        if (kColumns[c].plainHeading)
            Gr2->setTextMatrix(0, c, QString::fromLatin1(kColumns[c].plainHeading));
    const QString text = Gr2->clipText(0, 0, Gr2->rows() - 1, kCols - 1);
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(gridtext::forOtherPrograms(text, QLocale()));
    for (int c = 0; c < kCols; ++c)
        if (kColumns[c].plainHeading)
            Gr2->setTextMatrix(0, c, QString::fromLatin1(kColumns[c].heading));
    Gr2->setRowCol(0, 9);
}

void Form2::imagenAlPortapapeles()
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(Gr2->wholeImage());
    Gr2->collapseSelection();
}

void Form2::guardarComo()
{
    const auto name = veldesk::seam().inputBox(this, QStringLiteral("Save results in file:"),
                                               QStringLiteral("Results"), m_resultsCopy);
    if (!name || name->trimmed().isEmpty())
        return;
    if (Module1::existe_archivo(*name) != 0
        && veldesk::showMessage(this, QStringLiteral("File Exists. Overwrite?"), MsgIcon::Question,
                                MsgButtons::YesNo)
            == MsgAnswer::No)
        return;
    QString why;
    if (!report::copiar(m_resultsCopy, *name, &why))
        veldesk::showMessage(this, QStringLiteral("Unable to save the results in ") + *name + QStringLiteral("\n") + why,
                             MsgIcon::Critical);
}

void Form2::analisis()
{
    // The results copy outlives the report, which the next evaluation deletes,
    // so an export names the file the operator keeps.
    const bool copied = QFileInfo::exists(m_resultsCopy) && !m_resultsCopy.isEmpty();
    AnalysisWindow window(copied ? m_resultsCopy : m_report, m_dataSet, this);
    window.exec();
}

} // namespace veldesk
