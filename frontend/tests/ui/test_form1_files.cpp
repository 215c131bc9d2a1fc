// Save and Open in the main window: what is written, asked and reported, and
// what the window shows afterwards.
#include "test_form1.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace veldesk;

namespace {

struct Form1Files : Form1Test {
    QTemporaryDir dir;
    QString path;
    void SetUp() override
    {
        Form1Test::SetUp();
        path = dir.filePath("set.pd");
        w->Text1[3]->setText(path);
    }
    void open(const QString& file)
    {
        seam.files.push_back(file);
        click(w->Command5);
    }
};

} // namespace

TEST_F(Form1Files, SaveWritesUpToTheFirstIncompleteRowClearsTheMarkerAndEnablesEvaluate)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type("0.25");
    key(Qt::Key_Return);
    type("120");
    key(Qt::Key_Return);
    type("600");
    w->Gr1->layClip(3, 1, 3, 3, "0.1\t1\t2"); // after the empty row 2: not saved
    w->Text1[1]->setText("0,018");
    // The row left out below the gap is named first; No writes nothing.
    const QString question = "Row 2 has an empty, zero or non-numeric cell, and the readings saved end before"
                             " it: 1 row(s) holding data, from row 3 on, will not be saved. Save the first 1"
                             " reading(s) anyway?";
    seam.answers = {veldesk::MsgAnswer::No, veldesk::MsgAnswer::Yes};
    click(w->Command4);
    EXPECT_EQ(seam.texts(), QStringList{question});
    EXPECT_EQ(seam.messages[0].buttons, veldesk::MsgButtons::YesNo);
    EXPECT_EQ(seam.messages[0].defaultAnswer, veldesk::MsgAnswer::No); // Return keeps the rows
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(modified());
    seam.messages.clear();
    click(w->Command4);
    EXPECT_EQ(readFile(path), "V.Arezo Input data\r\n0.01800 , 0.30000\r\n0.25000 120.00000 600.00000\r\n");
    EXPECT_EQ(seam.texts(), QStringList({question, "File " + path + " saved succesfully"}));
    EXPECT_EQ(seam.messages[1].icon, veldesk::MsgIcon::Information);
    EXPECT_TRUE(cleared());
    EXPECT_TRUE(w->Command1->isEnabled());
}

// A cell marked "not a number", pasted or typed, is never written as one:
// Save names it and writes nothing, not even over an existing file.
TEST_F(Form1Files, CellsThatAreNotOneNumberAreNamedAndNothingIsWritten)
{
    writeFile(path, "old\r\n");
    QGuiApplication::clipboard()->setText("0.2\t12abc\t600\n1,2,3\t90\t500\n0.1\t80\t0.2 0.3\n");
    click(w->Command8);
    seam.messages.clear();
    click(w->Command4);
    ASSERT_EQ(seam.texts().size(), 1);
    EXPECT_EQ(seam.texts()[0],
              QString::fromUtf8("These cells of the readings are not one number each: row 1, column t 1/2"
                                " (\"12abc\"); row 2, column \u0394\u03b8 (\"1,2,3\"); row 3, column t fin"
                                " (\"0.2 0.3\").\nCorrect them before saving. Nothing was saved."));
    EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Critical);
    EXPECT_EQ(readFile(path), "old\r\n");
    EXPECT_TRUE(modified());

    // Corrected by typing, except one cell typed wrong again.
    w->Gr1->layClip(1, 2, 3, 3, "120\t600\r90\t500\r80\t300");
    const auto clickCell = [this](int r, int c) {
        QTest::mouseClick(w->Gr1->viewport(), Qt::LeftButton, {},
                          w->Gr1->visualRect(w->Gr1->model()->index(r - 1, c - 1)).center());
    };
    clickCell(2, 1);
    type("0.1x");
    EXPECT_EQ(cell(2, 1), "0.1x");
    key(Qt::Key_Right);
    EXPECT_EQ(w->Gr1->cellBackColor(2, 1), QColor(255, 200, 140));
    seam.messages.clear();
    click(w->Command4);
    ASSERT_EQ(seam.texts().size(), 1);
    EXPECT_TRUE(seam.texts()[0].startsWith("This cell of the readings is not one number: row 2, column "));
    EXPECT_EQ(readFile(path), "old\r\n");
}

TEST_F(Form1Files, OverwriteAnsweredNoAndEmptyNameChangeNothing)
{
    writeFile(path, "old\r\n");
    type("5");
    seam.answers.push_back(veldesk::MsgAnswer::No);
    click(w->Command4);
    EXPECT_EQ(seam.texts(), QStringList{"File " + path + " exists. Overwrite?"});
    EXPECT_EQ(seam.messages[0].buttons, veldesk::MsgButtons::YesNo);
    EXPECT_EQ(seam.messages[0].defaultAnswer, veldesk::MsgAnswer::Yes);
    w->Text1[3]->clear();
    click(w->Command4);
    EXPECT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(readFile(path), "old\r\n");
    EXPECT_TRUE(modified());
}

TEST_F(Form1Files, UnwritableTargetReportsAndKeepsTheMarker)
{
    w->Gr1->layClip(1, 1, 1, 3, "0.2\t90\t500");
    type("5");
    for (const QString& target : {dir.filePath("missing/set.pd"), dir.path()}) {
        seam.messages.clear();
        w->Text1[3]->setText(target);
        click(w->Command4);
        ASSERT_EQ(seam.messages.size(), 1u);
        // The reason follows, with the file it is about.
        EXPECT_TRUE(seam.messages[0].text.startsWith("Unable to write file!\n" + target + ": "))
            << seam.messages[0].text.toStdString();
        EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Critical);
        EXPECT_EQ(seam.messages[0].title, "Error");
    }
    EXPECT_TRUE(modified());
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(Form1Files, OpenShowsFixedDecimalsWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    writeFile(path, "Plot 3, B\r\n0.01800 , 0.30000\r\n0.25 120 600\r\n0.2 90 500\r\n");
    w->Text1[3]->setText("data.pd");
    type("7");
    seam.answers = {veldesk::MsgAnswer::Discard}; // Open replaces the typed change: asked first
    open(path);
    EXPECT_EQ(seam.texts(), QStringList{"The data set has unsaved changes. Save them?"});
    EXPECT_EQ(seam.dialogTitles, QStringList{"Open Data File"});
    EXPECT_EQ(seam.dialogFilters, QStringList{"PD Data File|*.pd"});
    EXPECT_EQ(seam.dialogInitial, QStringList{"*.pd"});
    EXPECT_EQ(w->Text1[3]->text(), path);
    EXPECT_EQ(w->Text1[0]->text(), "Plot 3, B");
    EXPECT_EQ(w->Text1[2]->text(), "0.30000");
    w->Gr1->setFocus(Qt::TabFocusReason);
    QTest::keyRelease(w->Gr1, Qt::Key_Tab); // the Tab that brought the focus writes nothing
    EXPECT_EQ(rows(1, 3), "0.250\t120.0\t600.0\r0.200\t90.0\t500.0\r\t\t");
    EXPECT_EQ(w->Gr1->row(), 2); // left on the last cell written, highlight on (1, 1)
    EXPECT_EQ(w->Gr1->col(), 3);
    EXPECT_TRUE(lit(1, 1));
    EXPECT_TRUE(cleared());
    EXPECT_TRUE(w->Command1->isEnabled());
    // A key pressed now acts on the highlighted cell, not on the far one; a
    // key that types nothing changes no cell.
    key(Qt::Key_Control);
    EXPECT_EQ(rows(1, 2), "0.250\t120.0\t600.0\r0.200\t90.0\t500.0");
    type("3");
    EXPECT_EQ(cell(1, 1), "3");
    EXPECT_EQ(cell(2, 3), "500.0");
}

TEST_F(Form1Files, AFileWithMoreReadingsThanTheGridIsNamedOnOpenAndSaveAsksBeforeDroppingThem)
{
    QByteArray b = "d\r\n0.018 , 0.3\r\n";
    for (int i = 1; i <= 150; ++i)
        b += "0.1 " + QByteArray::number(i) + " 500\r\n";
    writeFile(path, b);
    open(path);
    EXPECT_EQ(cell(100, 2), "100.0");
    EXPECT_EQ(seam.texts(), QStringList{"File " + path + " holds more than 100 readings; only the first 100 are"
                                        " shown. Save asks before it replaces this file with fewer."});
    type("7"); // into the highlighted cell; the last reading stays whole
    seam.messages.clear();
    seam.answers = {veldesk::MsgAnswer::Discard};
    click(w->Command5); // cancelled: the dialog gives back "*.pd"
    EXPECT_EQ(seam.texts(), QStringList{"The data set has unsaved changes. Save them?"});
    EXPECT_EQ(cell(1, 1), "7");
    EXPECT_EQ(cell(100, 3), "500.0");
    EXPECT_TRUE(modified());

    const QString drop = "File " + path + " holds more than 100 readings; only the first 100 are shown."
                         " Saving replaces it with the 100 readings of the grid; the others will be lost."
                         " Save anyway?";
    seam.messages.clear();
    seam.answers = {veldesk::MsgAnswer::Yes, veldesk::MsgAnswer::No};
    click(w->Command4);
    EXPECT_EQ(seam.texts(), QStringList({"File " + path + " exists. Overwrite?", drop}));
    EXPECT_EQ(seam.messages[1].defaultAnswer, veldesk::MsgAnswer::No);
    EXPECT_EQ(readFile(path), b);
    seam.messages.clear();
    seam.answers = {veldesk::MsgAnswer::Yes, veldesk::MsgAnswer::Yes};
    click(w->Command4);
    EXPECT_EQ(seam.texts(), QStringList({"File " + path + " exists. Overwrite?", drop,
                                         "File " + path + " saved succesfully"}));
    EXPECT_EQ(readFile(path).count("\r\n"), 102);
    seam.messages.clear();
    seam.answers = {veldesk::MsgAnswer::Yes};
    click(w->Command4); // the file now holds what the grid holds: nothing to drop
    EXPECT_EQ(seam.texts(), QStringList({"File " + path + " exists. Overwrite?", "File " + path + " saved succesfully"}));
}

TEST_F(Form1Files, OpenKeepsEveryDecimalOfTheFileAndItsCharacters)
{
    writeFile(path, "A\xC3\xB1o \xE2\x80\x93 \xE2\x80\x9Cplot\xE2\x80\x9D\r\n0.018 , 0.3\r\n0.1234 95.25 600\r\n");
    open(path);
    EXPECT_EQ(w->Text1[0]->text(), QString::fromUtf8("Año – “plot”"));
    EXPECT_EQ(rows(1, 1), "0.1234\t95.25\t600.0");
    seam.answers = {veldesk::MsgAnswer::Yes}; // to overwriting it
    click(w->Command4);
    EXPECT_EQ(readFile(path), "A\xF1o \x96 \x93plot\x94\r\n0.01800 , 0.30000\r\n0.12340 95.25000 600.00000\r\n");
}

TEST_F(Form1Files, FilesThatAreNotDataSetsAndDescriptionsTheEngineMisreadsAreRefused)
{
    type("7");
    for (const QByteArray& bytes : {QByteArray("\x7F" "ELF\x02\x01\x01\0\0", 9), reportOf({kRow1})}) {
        const QString other = dir.filePath("other.out");
        writeFile(other, bytes);
        seam.messages.clear();
        seam.answers = {veldesk::MsgAnswer::Discard};
        open(other);
        ASSERT_EQ(seam.messages.size(), 2u); // the unsaved-changes question, then the refusal
        EXPECT_TRUE(seam.messages[1].text.startsWith("File " + other + " is not a data set: "));
        EXPECT_EQ(seam.messages[1].icon, veldesk::MsgIcon::Critical);
        EXPECT_EQ(w->Text1[3]->text(), path);
        EXPECT_EQ(w->Text1[0]->text(), "V.Arezo Input data");
        EXPECT_EQ(cell(1, 1), "7");
        EXPECT_TRUE(modified());
    }

    w->Gr1->layClip(1, 1, 1, 3, "0.2\t90\t500");
    w->Text1[0]->setText("'98 campaign");
    seam.messages.clear();
    click(w->Command4);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_TRUE(seam.messages[0].text.endsWith("\nNothing was saved."));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(Form1Test, ClosingWithUnsavedChangesAsksSaveDiscardOrCancel)
{
    using veldesk::MsgAnswer;
    QTemporaryDir dir;
    const QString path = dir.filePath("set.pd");
    w->close(); // nothing unsaved: closes without a question
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(w->confirmDiscardOrSave());

    w->show();
    w->Text1[3]->setText(path);
    type("0.2");
    w->Gr1->layClip(1, 2, 1, 3, "90\t500"); // one whole reading
    seam.answers = {MsgAnswer::Cancel};
    w->close();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].buttons, veldesk::MsgButtons::SaveDiscardCancel);

    writeFile(path, "old");
    seam.answers = {MsgAnswer::Save, MsgAnswer::No}; // Save, then No to overwriting: stays open
    EXPECT_FALSE(w->confirmDiscardOrSave());
    EXPECT_EQ(readFile(path), "old");

    seam.answers = {MsgAnswer::Save, MsgAnswer::Yes};
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(readFile(path).endsWith("\r\n0.20000 90.00000 500.00000\r\n"));

    w->show();
    type("5");
    seam.answers = {MsgAnswer::Discard};
    EXPECT_TRUE(w->confirmDiscardOrSave());
}
