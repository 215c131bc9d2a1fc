// The results window on reports written by the test: the grid and labels,
// the stop rules, the clipboard commands and "Save as...".
#include "Form2.h"
#include "flexgrid.h"
#include "scripted_ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using veldesk::MsgAnswer;
using veldesk::MsgButtons;
using veldesk::MsgIcon;

namespace {

const QString kRow1 = QStringLiteral(
    "     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4073E-04 0.0140");
const QString kRow2 = QStringLiteral(
    "     2  0.2000    300.    600. 180.00   5.66   4.50  20.00 * 0.8684E-0613.0008");
const QString kLoadError = QStringLiteral("Error in temporary file pd.out");

QByteArray reportWith(const QStringList& rows, bool footer = true)
{
    QStringList lines;
    for (int i = 0; i < 16; ++i)
        lines << QStringLiteral(" banner %1").arg(i + 1);
    lines << QStringLiteral("Processed file:/d/set.pd").leftJustified(80)
          << QStringLiteral(" Description:  V.Arezo").leftJustified(65)
          << QStringLiteral(" Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m") << QString()
          << QStringLiteral("Point #  dtheta  tmed    tmax  delta0  romax  romed    a   W      Ks    Psi_m")
          << QStringLiteral("        (cm3/cm3) (s)    (s)") << QString(79, '-') << rows;
    if (footer)
        lines << QString(79, '-') << QStringLiteral("W=*, warning, root found outside domain") << QString();
    return lines.join("\r\n").toLatin1() + (footer ? "\r\n" : "");
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

struct Results : ::testing::Test {
    QTemporaryDir tmp;
    QString dir;
    ScriptedSeam ui;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dir = QDir(tmp.path()).canonicalPath();
    }
    void writeReport(const QByteArray& data, const QString& name = "pd.out")
    {
        QFile f(dir + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    std::unique_ptr<Form2> open(const QString& dataSet = "set.pd")
    {
        return std::make_unique<Form2>(dir + "/pd.out", dir + "/" + dataSet, nullptr);
    }
};

TEST_F(Results, LoadsLabelsHeadingsUnitsAndRowsAsTheReportPrintsThem)
{
    writeReport(reportWith({kRow1, kRow2, kRow1}));
    const auto form = open("test.1.pd");
    const FlexGrid& g = *form->Gr2;
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->windowTitle(), "Results");
    EXPECT_EQ(form->size(), QSize(750, 393));

    EXPECT_EQ(form->Label1[0]->text(), QString("Processed file:/d/set.pd").leftJustified(80));
    EXPECT_EQ(form->Label1[1]->text(), QString(" Description:  V.Arezo").leftJustified(65));
    EXPECT_EQ(form->Label1[2]->text(), " Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m");
    EXPECT_EQ(form->Label1[3]->text(), "Results: " + dir + "/test.1.out");
    EXPECT_EQ(form->Label2->text(), "Temp. File: " + dir + "/pd.out");
    EXPECT_EQ(readFile(dir + "/test.1.out"), readFile(dir + "/pd.out"));

    ASSERT_EQ(g.rows(), 5);
    ASSERT_EQ(g.cols(), 11);
    const QStringList headings = {"", "Dq", "t 1/2", "t max", "do", "", "", "a", "Ks", "", ""};
    const QStringList units = {"1", "(cm3/cm3)", "(s)", "(s)", "", "", "", "", "(m/s)", "(m)", ""};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(g.textMatrix(0, c), headings[c]) << c;
        EXPECT_EQ(g.textMatrix(1, c), units[c]) << c;
        EXPECT_EQ(g.hasCellPicture(0, c), c == 5 || c == 6 || c == 9) << c;
    }
    EXPECT_EQ(g.textMatrix(2, 0), "2");
    EXPECT_EQ(g.textMatrix(4, 0), "4");
    EXPECT_EQ(g.textMatrix(2, 2), "    300.");
    EXPECT_EQ(g.textMatrix(2, 8), " 0.4073E-04");
    EXPECT_EQ(g.textMatrix(3, 9), "13.0008");
    EXPECT_EQ(g.textMatrix(3, 10), "*");
    EXPECT_EQ(g.cellBackColor(2, 10), QColor(255, 255, 255));
    EXPECT_EQ(g.cellBackColor(3, 10), QColor(220, 50, 100));
    EXPECT_EQ(g.colWidthTwips(1), 1005); // 1000 twips at whole pixels
}

TEST_F(Results, StopsWithAndWithoutTheMessage)
{
    QString negative = kRow2;
    negative.replace(4, 2, "-2");
    writeReport(reportWith({kRow1, negative, kRow1}));
    auto form = open();
    EXPECT_EQ(ui.texts(), QStringList({kLoadError}));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::None);
    ASSERT_EQ(form->Gr2->rows(), 4); // the stop row stays, empty
    EXPECT_EQ(form->Gr2->textMatrix(3, 0), "3");
    EXPECT_EQ(form->Gr2->textMatrix(3, 1), "");

    ui.messages.clear();
    QString zero = kRow2;
    zero.replace(5, 1, "0");
    writeReport(reportWith({kRow1, zero}));
    form = open();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->Gr2->rows(), 4);

    // A report cut off before its footer: what was read stays.
    writeReport(reportWith({kRow1}, false));
    form = open();
    EXPECT_EQ(ui.texts(), QStringList({kLoadError}));
    EXPECT_EQ(form->Gr2->rows(), 3);
    EXPECT_FALSE(form->Label1[2]->text().isEmpty());

    // No report at all: nothing but the message and the two fixed rows.
    ui.messages.clear();
    QFile::remove(dir + "/pd.out");
    form = open();
    EXPECT_EQ(ui.texts(), QStringList({kLoadError}));
    EXPECT_EQ(form->Gr2->rows(), 2);
    EXPECT_TRUE(form->Label1[0]->text().isEmpty());
}

TEST_F(Results, ThousandReadingsShowTheFirst999ThenTheMessage)
{
    QStringList rows;
    for (int i = 1; i <= 1000; ++i)
        rows << QString("%1").arg(i, 6) + kRow1.mid(6);
    writeReport(reportWith(rows));
    const auto form = open();
    EXPECT_EQ(ui.texts(), QStringList({kLoadError}));
    ASSERT_EQ(form->Gr2->rows(), 1001);
    EXPECT_EQ(form->Gr2->textMatrix(1000, 0), "1000");
    EXPECT_EQ(form->Gr2->textMatrix(1000, 1), " 0.2000");
}

TEST_F(Results, DataSetNamedLikeTheReportLeavesTheReportWhole)
{
    const QByteArray report = reportWith({kRow1});
    writeReport(report);
    const auto form = open("pd.pd");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readFile(dir + "/pd.out"), report);
    EXPECT_EQ(form->Gr2->rows(), 3);
}

TEST_F(Results, DataToClipboardCopiesTheWholeGridWithPlainHeadings)
{
    writeReport(reportWith({kRow2}));
    const auto form = open();
    form->Gr2->setRowCol(2, 3);
    form->Command2->click();
    const QString expected =
        QStringList({"\tD Theta\tt 1/2\tt max\tdo\tro max\tro med\ta\tKs\tPsi_m\t",
                     "1\t(cm3/cm3)\t(s)\t(s)\t\t\t\t\t(m/s)\t(m)\t",
                     "2\t 0.2000\t    300.\t    600.\t 180.00\t   5.66\t   4.50\t  20.00 \t 0.8684E-06\t13.0008\t*"})
            .join("\r");
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    // The on-screen headings are back; the current cell is the heading of Psi_m.
    EXPECT_EQ(form->Gr2->textMatrix(0, 1), "Dq");
    EXPECT_EQ(form->Gr2->textMatrix(0, 5), "");
    EXPECT_EQ(form->Gr2->textMatrix(0, 9), "");
    EXPECT_EQ(form->Gr2->row(), 0);
    EXPECT_EQ(form->Gr2->col(), 9);
}

TEST_F(Results, ImageToClipboardCoversEveryRowNotOnlyTheVisibleOnes)
{
    QStringList rows;
    for (int i = 1; i <= 60; ++i)
        rows << QString("%1").arg(i, 6) + kRow2.mid(6);
    writeReport(reportWith(rows));
    const auto form = open();
    form->show();
    form->Gr2->scrollToBottom();
    form->Command3->click();
    const QImage image = QApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    int allRows = 0;
    for (int r = 0; r < form->Gr2->rowCount(); ++r)
        allRows += form->Gr2->rowHeight(r);
    EXPECT_GE(image.height(), allRows + 24); // rows 1 to 61 and the heading with its pictures
    EXPECT_GT(image.height(), 2 * form->Gr2->height());
    EXPECT_GE(image.width(), (350 + 9 * 1000 + 250) / 15);
    // The flag column of the last reading is drawn red at the bottom.
    const int flagX = image.width() - 250 / 15 / 2 - 1;
    EXPECT_EQ(image.pixelColor(flagX, image.height() - 5), QColor(220, 50, 100));
}

TEST_F(Results, SaveAsCancelEmptyOverwriteAndOntoItself)
{
    writeReport(reportWith({kRow1}));
    const auto form = open();
    const QString copy = dir + "/set.out";
    const QByteArray results = readFile(copy);
    ASSERT_EQ(results, readFile(dir + "/pd.out"));

    // Cancelled or empty: nothing at all happens.
    ui.inputs = {std::nullopt, QString(""), QString("   ")};
    for (int i = 0; i < 3; ++i)
        form->Command4->click();
    EXPECT_EQ(ui.inputPrompts.value(0), "Save results in file:|Results|" + copy);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2);

    // A new name: copied without a question.
    ui.inputs = {dir + "/mine.out"};
    form->Command4->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readFile(dir + "/mine.out"), results);

    // An existing one: No leaves it, Yes replaces it.
    QFile other(dir + "/other.txt");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("keep me");
    other.close();
    ui.inputs = {dir + "/other.txt", dir + "/other.txt"};
    ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
    form->Command4->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "File Exists. Overwrite?");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(readFile(dir + "/other.txt"), "keep me");
    form->Command4->click();
    EXPECT_EQ(readFile(dir + "/other.txt"), results);

    // Onto the results copy itself: left whole.
    ui.messages.clear();
    ui.inputs = {copy};
    form->Command4->click();
    EXPECT_EQ(ui.texts(), QStringList({"File Exists. Overwrite?"}));
    EXPECT_EQ(readFile(copy), results);

    // A name that cannot be written: a clear message naming it.
    ui.messages.clear();
    ui.inputs = {dir + "/no such dir/x.out"};
    form->Command4->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Unable to save the results in " + dir + "/no such dir/x.out"));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
}

} // namespace
