// A data set opened from outside the main window: named on the command line,
// or dropped on the window from a file manager.
#include "test_form1.h"

#include <QMimeData>
#include <QProcess>
#include <QUrl>

using namespace veldesk;

namespace {

const QByteArray kSite = "Site 7 north\r\n0.02500 , 0.25000\r\n0.20000 300.00000 1200.00000\r\n";

struct Form1Outside : Form1Test {
    QTemporaryDir dir;
    QString site = dir.filePath("site.pd");
    void SetUp() override
    {
        Form1Test::SetUp();
        writeFile(site, kSite);
    }
    // Drags a file over a control and drops it there; true if the drag was accepted.
    bool drop(QWidget* on, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path);
        const QPoint at = on->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &dropped);
        QTest::qWait(20); // the file is opened once the drop has been answered
        return dropped.isAccepted();
    }
    bool showsSite() const
    {
        return w->Text1[3]->text() == site && w->Text1[0]->text() == "Site 7 north" && w->Text1[1]->text() == "0.02500"
            && rows(1, 2) == "0.200\t300.0\t1200.0\r\t\t" && w->Command1->isEnabled() && cleared();
    }
};

} // namespace

TEST_F(Form1Outside, AFileNamedOnTheCommandLineOpensAsOpenWouldAndAnUnreadableOneIsRefused)
{
    const QString before = w->Text1[3]->text();
    w->openDataSetFile(dir.filePath("missing.pd"));
    EXPECT_EQ(seam.texts(), QStringList{"Unable to open file " + QDir::toNativeSeparators(dir.filePath("missing.pd"))});
    EXPECT_EQ(w->Text1[3]->text(), before);
    EXPECT_FALSE(w->Command1->isEnabled());

    seam.messages.clear();
    type("5");
    w->openDataSetFile(site);
    EXPECT_TRUE(showsSite());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(Form1Outside, ADroppedDataSetOpensAlsoOnATextBoxOtherDropsAreLeftAlone)
{
    writeFile(dir.filePath("notes.txt"), "x");
    EXPECT_FALSE(drop(w->Gr1, dir.filePath("notes.txt")));
    EXPECT_FALSE(drop(w->Gr1, dir.filePath("missing.txt")));
    EXPECT_EQ(w->Text1[3]->text(), "data.pd");

    EXPECT_TRUE(drop(w->Text1[0], site));
    EXPECT_TRUE(showsSite()); // the box shows the file's description, not the dropped path

    const QString upper = dir.filePath("OTHER.PD");
    writeFile(upper, kSite);
    EXPECT_TRUE(drop(w->Gr1, upper));
    EXPECT_EQ(w->Text1[3]->text(), upper);
}

TEST(CommandLine, HelpAndVersionFollowQtConventions)
{
    QProcess p;
    // No display at all: --help and --version need none.
    p.setProcessEnvironment([] {
        auto env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        return env;
    }());
    for (const char* option : {"--version", "-v"}) {
        p.start(builtProgram(VELDESK_EXE), {option});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(p.exitCode(), 0) << option;
        EXPECT_EQ(p.readAllStandardOutput().trimmed(), "VELDESK 1.0") << option;
    }
    for (const char* option : {"--help", "-h"}) {
        p.start(builtProgram(VELDESK_EXE), {option});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(p.exitCode(), 0) << option;
        EXPECT_TRUE(p.readAllStandardOutput().contains("[file]")) << option;
    }
    p.setProcessEnvironment([] {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }());
    p.start(builtProgram(VELDESK_EXE), {"one.pd", "two.pd"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_NE(p.exitCode(), 0);
}
