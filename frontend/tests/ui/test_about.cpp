// The about window's "View Help": where the help document is looked for, the
// message when it cannot be opened, and the window staying open either way.
#include "about.h"
#include "scripted_ui.h"
#include "test_support.h"

#include <QPushButton>
#include <QTest>

using namespace veldesk;

namespace {

struct About : ::testing::Test {
    QTemporaryDir tmp;
    QString work, prog, share, oldCwd;
    ScriptedSeam ui;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        const QString root = QDir(tmp.path()).canonicalPath();
        work = root + "/work";
        prog = root + "/prefix/bin";
        share = root + "/prefix/share/veldesk";
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir().mkpath(work) && QDir::setCurrent(work));
    }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    static void putHelp(const QString& dir) { writeFile(dir + "/velpra.pdf", "%PDF-1.4\n"); }
    void viewHelp(about& dlg)
    {
        dlg.setProgramDir(prog);
        dlg.show();
        auto* b = dlg.findChild<QPushButton*>("Command2");
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), "View Help");
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible()); // stays open whatever happened
    }
};

// Missing everywhere, then found in the shared data, beside the program and
// in the working directory in turn, then found but with no viewer for it.
TEST_F(About, HelpIsLookedForInWorkingDirectoryThenBesideProgramThenSharedData)
{
    about dlg;
    viewHelp(dlg);
    EXPECT_TRUE(ui.openedDocuments.isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);
    putHelp(share);
    viewHelp(dlg);
    putHelp(prog);
    viewHelp(dlg);
    putHelp(work);
    viewHelp(dlg);
    EXPECT_EQ(ui.openedDocuments,
              QStringList({share + "/velpra.pdf", prog + "/velpra.pdf", work + "/velpra.pdf"}));
    EXPECT_EQ(ui.messages.size(), 1u);

    // No viewer registered for PDF: the message names what is missing and
    // where the manual is, instead of claiming it cannot be found.
    ui.documentOpens = false;
    viewHelp(dlg);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Unable to Find VELPRA.pdf ");
    EXPECT_EQ(ui.messages[1].text, "The manual is " + work + "/velpra.pdf, but no program to show PDF files"
                                   " could be started. Install a PDF viewer, or open the manual with one.");
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.icon, veldesk::MsgIcon::None);
        EXPECT_EQ(m.buttons, veldesk::MsgButtons::Ok);
        EXPECT_EQ(m.title, "VELDESK");
    }
}

} // namespace
