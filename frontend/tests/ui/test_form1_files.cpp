// Save and Open in the main window: what is written, what is asked and
// reported, what the window shows afterwards, and that a failed save keeps
// the old file.
#include "test_form1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray slurp(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void spit(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Form1Files : Form1Test {
    QTemporaryDir dir;
    QString path;
    void SetUp() override
    {
        Form1Test::SetUp();
        path = dir.filePath("set.pd");
        w->Text1[3]->setText(path);
    }
    void fillRow(int r, const QString& a, const QString& b, const QString& c)
    {
        w->Gr1->setTextMatrix(r, 1, a);
        w->Gr1->setTextMatrix(r, 2, b);
        w->Gr1->setTextMatrix(r, 3, c);
    }
    void save() { QTest::mouseClick(w->Command4, Qt::LeftButton); }
    void open(const QString& file)
    {
        seam.files.push_back(file);
        QTest::mouseClick(w->Command5, Qt::LeftButton);
    }
};

} // namespace

TEST_F(Form1Files, SaveWritesTheDataSetClearsTheMarkerAndEnablesEvaluate)
{
    type("0.25");
    key(Qt::Key_Return);
    type("120");
    key(Qt::Key_Return);
    type("600");
    ASSERT_TRUE(markerModified());
    w->Text1[1]->setText("0,018");
    save();
    EXPECT_EQ(slurp(path), "V.Arezo Input data\r\n0.01800 , 0.30000\r\n0.25000 120.00000 600.00000\r\n");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, "File " + path + " saved succesfully");
    EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Information);
    EXPECT_EQ(seam.messages[0].title, "VELDESK");
    EXPECT_TRUE(markerCleared());
    EXPECT_TRUE(w->Command1->isEnabled());
}

TEST_F(Form1Files, SaveStopsAtTheFirstIncompleteRowAndReadsCommaCells)
{
    useLocale(QLocale(QLocale::German, QLocale::Germany));
    for (int r : {1, 2, 3, 5})
        fillRow(r, "0,25", QString::number(10 * r), "600");
    w->Text1[2]->setText("abc");
    save();
    EXPECT_EQ(slurp(path), "V.Arezo Input data\r\n0.01800 , 0.00000\r\n"
                           "0.25000 10.00000 600.00000\r\n0.25000 20.00000 600.00000\r\n"
                           "0.25000 30.00000 600.00000\r\n");
}

TEST_F(Form1Files, AHundredFullRowsAreAllSaved)
{
    for (int r = 1; r <= 100; ++r)
        fillRow(r, "0.1", QString::number(r), "500");
    save();
    EXPECT_EQ(slurp(path).count("\r\n"), 102);
    EXPECT_EQ(seam.texts(), QStringList{"File " + path + " saved succesfully"});
}

TEST_F(Form1Files, OverwriteIsAskedAndNoLeavesFileAndWindowAlone)
{
    spit(path, "old\r\n");
    type("5");
    seam.answers.push_back(veldesk::MsgAnswer::No);
    save();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, "File " + path + " exists. Overwrite?");
    EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Question);
    EXPECT_EQ(seam.messages[0].buttons, veldesk::MsgButtons::YesNo);
    EXPECT_EQ(slurp(path), "old\r\n");
    EXPECT_TRUE(markerModified());
    EXPECT_FALSE(w->Command1->isEnabled());

    save(); // Yes this time
    EXPECT_EQ(seam.messages.size(), 3u);
    EXPECT_TRUE(slurp(path).startsWith("V.Arezo Input data\r\n"));
}

TEST_F(Form1Files, EmptyFileNameDoesNothing)
{
    w->Text1[3]->clear();
    type("5");
    save();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(markerModified());
}

TEST_F(Form1Files, UnwritableTargetsReportAndChangeNothing)
{
    type("5");
    for (const QString& target : {dir.filePath("missing/set.pd"), dir.path()}) {
        seam.messages.clear();
        w->Text1[3]->setText(target);
        save();
        ASSERT_EQ(seam.messages.size(), 1u) << target.toStdString();
        EXPECT_EQ(seam.messages[0].text, "Unable to write file!");
        EXPECT_EQ(seam.messages[0].icon, veldesk::MsgIcon::Critical);
        EXPECT_EQ(seam.messages[0].title, "Error");
        EXPECT_TRUE(markerModified());
        EXPECT_FALSE(w->Command1->isEnabled());
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("missing")));
}

TEST_F(Form1Files, AFailedSaveKeepsTheOldFileWhole)
{
    const QByteArray old = "old set\r\n0.01800 , 0.30000\r\n0.10000 1.00000 2.00000\r\n";
    spit(path, old);
    for (int r = 1; r <= 100; ++r)
        fillRow(r, "0.123456", QString::number(r * 1000.5), "123456.7");
    // The disk "fills" after 1000 bytes; root is not spared by this limit.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(seam.texts(), (QStringList{"File " + path + " exists. Overwrite?", "Unable to write file!"}));
    EXPECT_EQ(slurp(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"set.pd"});
}

TEST_F(Form1Files, OpenShowsTheFileWithFixedDecimalsWhateverTheLocale)
{
    useLocale(QLocale(QLocale::German, QLocale::Germany));
    spit(path, "Field 3, plot B\r\n0.01800 , 0.30000\r\n0.25000 120.00000 600.00000\r\n"
               "0.2 90 500\r\n");
    w->Text1[3]->setText("data.pd");
    type("7");
    open(path);
    EXPECT_EQ(seam.dialogTitles, QStringList{"Open Data File"});
    EXPECT_EQ(seam.dialogFilters, QStringList{"PD Data File|*.pd"});
    EXPECT_EQ(seam.dialogExts, QStringList{"pd"});
    EXPECT_EQ(seam.dialogInitial, QStringList{"*.pd"});
    EXPECT_EQ(w->Text1[3]->text(), path);
    EXPECT_EQ(w->Text1[0]->text(), "Field 3, plot B");
    EXPECT_EQ(w->Text1[1]->text(), "0.01800");
    EXPECT_EQ(w->Text1[2]->text(), "0.30000");
    EXPECT_EQ(w->Gr1->clipText(1, 1, 3, 3), "0.250\t120.0\t600.0\r0.200\t90.0\t500.0\r\t\t");
    EXPECT_EQ(w->Gr1->row(), 2); // the last cell written
    EXPECT_EQ(w->Gr1->col(), 3);
    EXPECT_TRUE(highlighted(1, 1));
    EXPECT_EQ(w->Text2->text(), "");
    EXPECT_TRUE(markerCleared());
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(Form1Files, OpenStopsAfterAHundredReadingsOrANonPositiveProduct)
{
    QByteArray b = "d\r\n0.018 , 0.3\r\n";
    for (int i = 1; i <= 120; ++i)
        b += "0.1 " + QByteArray::number(i) + " 500\r\n";
    spit(path, b);
    open(path);
    EXPECT_EQ(cell(100, 2), "100.0");
    EXPECT_TRUE(seam.messages.empty());

    spit(path, "d\r\n0.018 , 0.3\r\n0.1 1 2\r\n0 0 0\r\n0.1 3 4\r\n");
    open(path);
    EXPECT_EQ(cell(2, 1), "0.000");
    EXPECT_EQ(cell(3, 1), "");
    EXPECT_EQ(cell(100, 2), ""); // the earlier readings are gone
}

TEST_F(Form1Files, OpenWithoutReadingsStillEnablesEvaluate)
{
    spit(path, "d\r\n0.018 , 0.3\r\n");
    w->Gr1->setTextMatrix(4, 2, "9");
    type("1");
    open(path);
    EXPECT_EQ(cell(4, 2), "");
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_TRUE(markerCleared());
    EXPECT_TRUE(w->Command1->isEnabled());
}

TEST_F(Form1Files, CancelledOpenAndUnreadableFilesChangeNothing)
{
    type("7");
    QTest::mouseClick(w->Command5, Qt::LeftButton); // cancel: the dialog gives back "*.pd"
    w->abrir_archivo(dir.filePath("none.pd"));
    EXPECT_EQ(w->Text1[3]->text(), path);
    EXPECT_EQ(cell(1, 1), "7");
    EXPECT_TRUE(markerModified());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(Form1Files, SaveThenOpenGivesTheSameDataSet)
{
    w->Text1[0]->setText(QString::fromUtf8("Parcela 4 – ladera")); // the dash is not Latin-1
    fillRow(1, "0.15", "120", "300");
    fillRow(2, "0.12", "95.5", "250");
    save();
    w->Gr1->setTextMatrix(1, 1, "x");
    open(path);
    EXPECT_EQ(w->Text1[0]->text(), "Parcela 4 ? ladera");
    EXPECT_EQ(w->Gr1->clipText(1, 1, 2, 3), "0.150\t120.0\t300.0\r0.120\t95.5\t250.0");
}
