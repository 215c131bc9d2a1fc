// The results window on reports written by the test: grid and labels, the
// loading failures, the clipboard commands and "Save as...".
#include "Form2.h"
#include "gridtext.h"
#include "flexgrid.h"
#include "report.h"
#include "scripted_ui.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>

using namespace veldesk;

using veldesk::MsgAnswer;

namespace {

struct Results : ::testing::Test {
    QTemporaryDir tmp;
    QString dir = QDir(tmp.path()).canonicalPath();
    ScriptedSeam ui;

    std::unique_ptr<Form2> openWith(const QStringList& rows, const QString& dataSet = "set.pd")
    {
        writeFile(dir + "/pd.out", reportOf(rows));
        return std::make_unique<Form2>(dir + "/pd.out", dir + "/" + dataSet, nullptr);
    }
};

TEST_F(Results, LoadsLabelsHeadingsUnitsAndRowsAsPrinted)
{
    const auto form = openWith({kRow1, kRow2});
    const FlexGrid& g = *form->Gr2;
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->Label1[0]->text(), "Processed file:/d/set.pd");
    EXPECT_EQ(form->Label1[2]->text(), " Pipe dimensions used");
    EXPECT_EQ(form->Label1[3]->text(), "Results: " + dir + "/set.out");
    EXPECT_EQ(form->Label2->text(), "Temp. File: " + dir + "/pd.out");
    EXPECT_EQ(readFile(dir + "/set.out"), readFile(dir + "/pd.out"));

    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(g.clipText(0, 0, 1, 10), "\tDq\tt 1/2\tt max\tdo\t\t\ta\tKs\t\t\r"
                                       "1\t(cm3/cm3)\t(s)\t(s)\t\t\t\t\t(m/s)\t(m)\t");
    for (int c : {5, 6, 9})
        EXPECT_TRUE(g.hasCellPicture(0, c)) << c;
    // Each cell is one field at the engine's columns.
    EXPECT_EQ(g.clipText(3, 0, 3, 10), "3\t  0.2000\t    300.\t    600.\t 180.00\t   5.66\t   4.50\t  20.00"
                                       "\t0.8684E-06\t13.0008\t*");
    EXPECT_EQ(g.cellBackColor(2, 10), QColor(255, 255, 255));
    EXPECT_EQ(g.cellBackColor(3, 10), QColor(220, 50, 100));
}

TEST_F(Results, LoadingStopsWithTheMessageAndKeepsWhatWasRead)
{
    QString negative = kRow2;
    negative.replace(4, 2, "-2");
    auto form = openWith({kRow1, negative, kRow1});
    EXPECT_EQ(ui.texts(), QStringList({"Error in temporary file pd.out"}));
    EXPECT_EQ(form->Gr2->rows(), 4); // the stop row stays, empty
    EXPECT_EQ(form->Gr2->textMatrix(3, 1), "");

    // A data set named "pd.pd": its results copy is the report, left whole.
    form = openWith({kRow1}, "pd.pd");
    EXPECT_TRUE(readFile(dir + "/pd.out").endsWith("W=*\r\n"));
    EXPECT_EQ(form->Gr2->rows(), 3);
    EXPECT_EQ(ui.messages.size(), 1u);
}

// Overflow stars and a Δθ that fills its 8 columns are fields like any other:
// every row the engine wrote is shown, without a message.
TEST_F(Results, StarredAndFullWidthFieldsAreShownAsPrinted)
{
    const QString wide = "     2150.0000    300.   1200.   0.24   1.07   1.04   1.41   0.1353E-06 1.9352";
    const QString starred = "     3********    300.******** 180.00*******   4.50   5.92   0.4073E-04*******";
    const auto form = openWith({kRow1, wide, starred, kRow2});
    EXPECT_TRUE(ui.messages.empty());
    const FlexGrid& g = *form->Gr2;
    ASSERT_EQ(g.rows(), 6);
    EXPECT_EQ(g.textMatrix(3, 1), "150.0000");
    EXPECT_EQ(g.clipText(4, 0, 4, 10), "4\t********\t    300.\t********\t 180.00\t*******\t   4.50\t   5.92"
                                       "\t0.4073E-04\t*******\t ");
    EXPECT_EQ(g.textMatrix(5, 10), "*");
}

// A failure before the table is begun (the results copy, lines 1 to 23)
// leaves only the heading row; once begun, the unit row stays too.
TEST_F(Results, FailureBeforeTheTableKeepsOnlyTheHeadingRow)
{
    const QStringList all = reportLines({});
    const struct {
        int lines;           // of the report, -1: all
        const char* dataSet; // relative to the test directory
        int rows;
        int labels; // report lines 17 to 19 shown
        bool message;
    } cases[] = {
        {-1, "no such dir/set.pd", 1, 0, true}, // the results copy cannot be written
        {18, "set.pd", 1, 2, true},
        {23, "set.pd", 2, 3, true}, // ends before the footer
        {-1, "set.pd", 2, 3, false}, // no readings
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        ui.messages.clear();
        writeFile(dir + "/pd.out", (c.lines < 0 ? all : all.mid(0, c.lines)).join("\r\n").toLatin1());
        const Form2 form(dir + "/pd.out", dir + "/" + c.dataSet, nullptr);
        EXPECT_EQ(form.Gr2->rows(), c.rows);
        const bool copied = QFile::exists(report::resultsCopyPathFor(dir + "/" + c.dataSet));
        EXPECT_EQ(form.Gr2->textMatrix(0, 3), copied ? "t max" : ""); // headings come after the copy
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(form.Label1[i]->text(), i < c.labels ? all.at(16 + i) : QString()) << i;
        EXPECT_EQ(ui.texts(), c.message ? QStringList({"Error in temporary file pd.out"}) : QStringList());
    }
}

TEST_F(Results, ClipboardTextAndImageCoverTheWholeGrid)
{
    QStringList rows;
    for (int i = 1; i <= 60; ++i)
        rows << QString("%1").arg(i, 6) + kRow2.mid(6);
    const auto form = openWith(rows);
    form->show();
    form->Gr2->scrollToBottom();

    form->Command2->click();
    const QStringList text = QApplication::clipboard()->text().split(gridtext::kLineEnd);
    ASSERT_EQ(text.size(), 62);
    EXPECT_EQ(text[0], "\tD Theta\tt 1/2\tt max\tdo\tro max\tro med\ta\tKs\tPsi_m\t");
    EXPECT_TRUE(text[1].startsWith("1\t(cm3/cm3)\t"));
    EXPECT_TRUE(text[61].startsWith("61\t  0.2000\t"));
    EXPECT_EQ(form->Gr2->clipText(0, 1, 0, 9), "Dq\tt 1/2\tt max\tdo\t\t\ta\tKs\t"); // shown again
    EXPECT_EQ(form->Gr2->row(), 0);
    EXPECT_EQ(form->Gr2->col(), 9);

    // Under comma settings the numbers carry the comma and no trailing point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    form->Command2->click();
    QLocale::setDefault(QLocale::system());
    const QString row1 = QApplication::clipboard()->text().split(gridtext::kLineEnd)[2];
    EXPECT_TRUE(row1.startsWith("2\t  0,2000\t    300\t    600\t 180,00\t")) << row1.toStdString();

    form->Command3->click();
    const QImage image = QApplication::clipboard()->image();
    int allRows = 0;
    for (int r = 0; r < form->Gr2->rowCount(); ++r)
        allRows += form->Gr2->rowHeight(r);
    EXPECT_GE(image.height(), allRows + 24); // every row and the heading with its pictures
    // The flag of the last reading is drawn red at the bottom.
    EXPECT_EQ(image.pixelColor(image.width() - 9, image.height() - 5), QColor(220, 50, 100));
}

TEST_F(Results, SaveAsCancelOverwriteAndOntoItself)
{
    const auto form = openWith({kRow1});
    const QString copy = dir + "/set.out", other = dir + "/other.txt";
    const QByteArray results = readFile(copy);

    ui.inputs = {std::nullopt, QString("  "), other};
    form->Command4->click();
    form->Command4->click(); // cancelled and empty: nothing happens
    EXPECT_EQ(ui.inputPrompts.value(0), "Save results in file:|Results|" + copy);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2);
    form->Command4->click(); // a new name: no question
    EXPECT_EQ(readFile(other), results);

    writeFile(other, "keep me");
    ui.inputs = {other, other, copy};
    ui.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    form->Command4->click();
    EXPECT_EQ(readFile(other), "keep me");
    form->Command4->click();
    EXPECT_EQ(readFile(other), results);
    form->Command4->click(); // onto the results copy itself
    EXPECT_EQ(readFile(copy), results);
    EXPECT_EQ(ui.texts(), QStringList(3, "File Exists. Overwrite?"));
    EXPECT_EQ(ui.messages[0].icon, veldesk::MsgIcon::Question);

    ui.inputs = {dir + "/no such dir/x.out"};
    form->Command4->click();
    EXPECT_TRUE(ui.texts().value(3).startsWith("Unable to save the results in " + dir + "/no such dir/x.out"));
}

} // namespace
