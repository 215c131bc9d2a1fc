// The about window's "View Help": where the help document is looked for, the
// message when it cannot be opened, and the window staying open either way.
#include "about.h"
#include "scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

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
        for (const QString& d : {work, prog, share})
            ASSERT_TRUE(QDir().mkpath(d));
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(work));
    }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    static void putHelp(const QString& dir)
    {
        QFile f(dir + "/velpra.pdf");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
    }
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

TEST_F(About, HelpIsLookedForInWorkingDirectoryThenBesideProgramThenSharedData)
{
    putHelp(share);
    about dlg;
    viewHelp(dlg);
    putHelp(prog);
    viewHelp(dlg);
    putHelp(work);
    viewHelp(dlg);
    EXPECT_EQ(ui.openedDocuments,
              QStringList({share + "/velpra.pdf", prog + "/velpra.pdf", work + "/velpra.pdf"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(About, MissingHelpOrFailingViewerGivesTheMessageWithoutIcon)
{
    about dlg;
    viewHelp(dlg);
    EXPECT_TRUE(ui.openedDocuments.isEmpty());

    putHelp(work);
    ui.documentOpens = false; // no viewer registered for PDF
    viewHelp(dlg);

    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.text, "Unable to Find VELPRA.pdf ");
        EXPECT_EQ(m.icon, veldesk::MsgIcon::None);
        EXPECT_EQ(m.buttons, veldesk::MsgButtons::Ok);
        EXPECT_EQ(m.title, "VELDESK");
    }
}

} // namespace
