// The data directory window driven through its own widgets: the composed name
// on "Aceptar", "Cancelar", moving in the directory list, the file list and its
// pattern, and the working directory, which the window never changes.
#include "selectdir.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QStringList itemTexts(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct SelectDir : ::testing::Test {
    QTemporaryDir tmp;
    QString top;     // the working directory while the window is open
    QString oldCwd;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        top = QDir(tmp.path()).canonicalPath();
        QDir(top).mkpath("site2/deeper");
        for (const char* n : {"data.pd", "run.2002.pd", "notes.txt"})
            touch(top + "/" + n);
        touch(top + "/site2/plot7.pd");
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(top));
    }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    static void touch(const QString& path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    template <class W> static W* child(selectdir& d, const char* name)
    {
        auto* w = d.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void clickItem(QListWidget* list, const QString& text)
    {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    }
    static void doubleClickItem(QListWidget* list, const QString& text)
    {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        const QPoint at = list->visualItemRect(found[0]).center();
        // A real double click: a first click, then the second press that Qt reports as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    static QString accept(selectdir& d)
    {
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        return d.composedPath();
    }
};

TEST_F(SelectDir, OpensOnTheWorkingDirectoryAndAcceptUntouchedGivesFname)
{
    selectdir d;
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Selección de Directorio de datos"));
    EXPECT_EQ(child<QLineEdit>(d, "Text2")->text(), QDir::toNativeSeparators(top));
    EXPECT_EQ(child<QLineEdit>(d, "Text3")->text(), "Fname");
    EXPECT_EQ(child<QLineEdit>(d, "Text1")->text(), "*.pd");
    EXPECT_EQ(itemTexts(child<QListWidget>(d, "File1")), QStringList({"data.pd", "run.2002.pd"}));
    EXPECT_EQ(itemTexts(child<QListWidget>(d, "Dir1")), QStringList({"..", "site2"}));

    EXPECT_EQ(accept(d), QDir::toNativeSeparators(top) + QDir::separator() + "Fname.pd");
    EXPECT_EQ(QDir::currentPath(), top);
}

TEST_F(SelectDir, ClickedFileNameIsCutAtItsFirstDotOnAccept)
{
    selectdir d;
    d.show();
    auto* files = child<QListWidget>(d, "File1");
    auto* name = child<QLineEdit>(d, "Text3");
    clickItem(files, "data.pd");
    EXPECT_EQ(name->text(), "data.pd");
    clickItem(files, "run.2002.pd");
    EXPECT_EQ(name->text(), "run.2002.pd");
    EXPECT_EQ(accept(d), QDir::toNativeSeparators(top) + QDir::separator() + "run.pd");
    EXPECT_EQ(name->text(), "run");
}

TEST_F(SelectDir, DirectoryListMovesDownAndUpCarryingPathAndFileList)
{
    selectdir d;
    d.show();
    auto* dirs = child<QListWidget>(d, "Dir1");
    auto* files = child<QListWidget>(d, "File1");
    auto* path = child<QLineEdit>(d, "Text2");

    doubleClickItem(dirs, "site2");
    EXPECT_EQ(path->text(), QDir::toNativeSeparators(top + "/site2"));
    EXPECT_EQ(itemTexts(dirs), QStringList({"..", "deeper"}));
    EXPECT_EQ(itemTexts(files), QStringList({"plot7.pd"}));

    // The keyboard opens a directory too, and Enter there does not accept the window.
    dirs->setCurrentRow(0);
    QTest::keyClick(dirs, Qt::Key_Return);
    EXPECT_EQ(path->text(), QDir::toNativeSeparators(top));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(itemTexts(files), QStringList({"data.pd", "run.2002.pd"}));

    doubleClickItem(dirs, "site2");
    clickItem(files, "plot7.pd");
    EXPECT_EQ(accept(d), QDir::toNativeSeparators(top + "/site2") + QDir::separator() + "plot7.pd");
    EXPECT_EQ(QDir::currentPath(), top);
}

TEST_F(SelectDir, PatternBoxRefiltersAndAnyChosenFileStillGivesPd)
{
    selectdir d;
    d.show();
    auto* files = child<QListWidget>(d, "File1");
    auto* pattern = child<QLineEdit>(d, "Text1");
    pattern->selectAll();
    QTest::keyClicks(pattern, "*.txt");
    EXPECT_EQ(itemTexts(files), QStringList({"notes.txt"}));
    pattern->setText("*.pd;*.txt");
    EXPECT_EQ(files->count(), 3);
    // Refiltering is not a choice: the name box keeps what it had.
    EXPECT_EQ(child<QLineEdit>(d, "Text3")->text(), "Fname");
    clickItem(files, "notes.txt");
    EXPECT_EQ(accept(d), QDir::toNativeSeparators(top) + QDir::separator() + "notes.pd");
}

TEST_F(SelectDir, HandTypedPathIsUsedAsTypedAndRootGetsOneSeparator)
{
    selectdir d;
    d.show();
    auto* path = child<QLineEdit>(d, "Text2");
    path->setText(QDir::toNativeSeparators(QDir::rootPath()));
    child<QLineEdit>(d, "Text3")->setText("data.pd");
    EXPECT_EQ(accept(d), QDir::toNativeSeparators(QDir::rootPath()) + "data.pd");
}

TEST_F(SelectDir, CancelComposesNothing)
{
    selectdir d;
    d.show();
    clickItem(child<QListWidget>(d, "File1"), "data.pd");
    QTest::mouseClick(child<QPushButton>(d, "Command3"), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.composedPath().isEmpty());
    EXPECT_EQ(QDir::currentPath(), top);
}

TEST_F(SelectDir, WorkingDirectoryThatCannotBeListedFallsBackToHome)
{
    ASSERT_TRUE(QDir::setCurrent(top + "/site2/deeper"));
    ASSERT_TRUE(QDir(top + "/site2").rmdir("deeper"));
    selectdir d;
    EXPECT_EQ(child<QLineEdit>(d, "Text2")->text(), QDir::toNativeSeparators(QDir::homePath()));
    EXPECT_EQ(d.dirPath(), QDir::homePath());
}

} // namespace
