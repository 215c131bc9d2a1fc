// Save and Open in the main window: what is written, asked and reported, and
// what the window shows afterwards.
#include "test_form1.h"

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
    click(w->Command4);
    EXPECT_EQ(readFile(path), "V.Arezo Input data\r\n0.01800 , 0.30000\r\n0.25000 120.00000 600.00000\r\n");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, "File " + path + " saved succesfully");
    EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Information);
    EXPECT_TRUE(cleared());
    EXPECT_TRUE(w->Command1->isEnabled());
}

TEST_F(Form1Files, OverwriteAnsweredNoAndEmptyNameChangeNothing)
{
    writeFile(path, "old\r\n");
    type("5");
    seam.answers.push_back(veldesk::MsgAnswer::No);
    click(w->Command4);
    EXPECT_EQ(seam.texts(), QStringList{"File " + path + " exists. Overwrite?"});
    EXPECT_EQ(seam.messages[0].buttons, veldesk::MsgButtons::YesNo);
    w->Text1[3]->clear();
    click(w->Command4);
    EXPECT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(readFile(path), "old\r\n");
    EXPECT_TRUE(modified());
}

TEST_F(Form1Files, UnwritableTargetReportsAndKeepsTheMarker)
{
    type("5");
    for (const QString& target : {dir.filePath("missing/set.pd"), dir.path()}) {
        seam.messages.clear();
        w->Text1[3]->setText(target);
        click(w->Command4);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, "Unable to write file!");
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
    open(path);
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

TEST_F(Form1Files, OpenOfAHundredAndTwentyReadingsShowsAHundredCancelChangesNothing)
{
    QByteArray b = "d\r\n0.018 , 0.3\r\n";
    for (int i = 1; i <= 120; ++i)
        b += "0.1 " + QByteArray::number(i) + " 500\r\n";
    writeFile(path, b);
    open(path);
    EXPECT_EQ(cell(100, 2), "100.0");
    type("7"); // into the highlighted cell; the last reading stays whole
    click(w->Command5); // cancelled: the dialog gives back "*.pd"
    EXPECT_EQ(cell(1, 1), "7");
    EXPECT_EQ(cell(100, 3), "500.0");
    EXPECT_TRUE(modified());
    EXPECT_TRUE(seam.messages.empty());
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
    EXPECT_TRUE(readFile(path).startsWith("V.Arezo Input data\r\n"));

    w->show();
    type("5");
    seam.answers = {MsgAnswer::Discard};
    EXPECT_TRUE(w->confirmDiscardOrSave());
}
