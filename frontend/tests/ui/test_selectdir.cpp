// The data directory window driven through its own widgets: the composed name
// on "Aceptar", "Cancelar", moving in the directory list, the file list and its
// pattern, and the working directory, which the window never changes.
#include "selectdir.h"
#include "test_support.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace veldesk;

namespace {

struct SelectDir : ::testing::Test {
    QTemporaryDir tmp;
    QString top, oldCwd; // top: the working directory while the window is open
    std::unique_ptr<selectdir> d;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        top = QDir(tmp.path()).canonicalPath();
        QDir(top).mkpath("site2/deeper");
        for (const char* n : {"data.pd", "run.2002.pd", "notes.txt", "site2/plot7.pd"})
            writeFile(top + "/" + n);
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(top));
    }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    void open()
    {
        d = std::make_unique<selectdir>();
        d->show();
    }
    template <class W> W* child(const char* name) { return d->findChild<W*>(QString::fromLatin1(name)); }
    QListWidget* list(const char* name) { return child<QListWidget>(name); }
    QString text(const char* name) { return child<QLineEdit>(name)->text(); }
    QStringList items(const char* name)
    {
        QStringList out;
        for (int i = 0; i < list(name)->count(); ++i)
            out << list(name)->item(i)->text();
        return out;
    }
    void click(const char* name, const QString& item, bool twice = false)
    {
        QListWidget* l = list(name);
        const auto found = l->findItems(item, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << item.toStdString();
        const QPoint at = l->visualItemRect(found[0]).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        if (twice) // the second press of a double click
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
    QString accept()
    {
        QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
        EXPECT_EQ(d->result(), QDialog::Accepted);
        return d->composedPath();
    }
    QString in(const QString& dir, const QString& name)
    {
        return QDir::toNativeSeparators(dir) + QDir::separator() + name;
    }
};

TEST_F(SelectDir, OpensOnTheWorkingDirectoryAndAcceptUntouchedGivesFname)
{
    open();
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Selección de Directorio de datos"));
    EXPECT_EQ(text("Text2"), QDir::toNativeSeparators(top));
    EXPECT_EQ(text("Text3"), "Fname");
    EXPECT_EQ(text("Text1"), "*.pd");
    EXPECT_EQ(items("File1"), QStringList({"data.pd", "run.2002.pd"}));
    EXPECT_EQ(items("Dir1"), QStringList({"..", "site2"}));
    EXPECT_EQ(accept(), in(top, "Fname.pd"));
}

TEST_F(SelectDir, ClickedFileNameIsCutAtItsFirstDotOnAccept)
{
    open();
    click("File1", "data.pd");
    EXPECT_EQ(text("Text3"), "data.pd");
    child<QLineEdit>("Text3")->setText("typed");
    click("File1", "data.pd"); // the same file again
    EXPECT_EQ(text("Text3"), "data.pd");
    click("File1", "run.2002.pd");
    EXPECT_EQ(text("Text3"), "run.2002.pd");
    EXPECT_EQ(accept(), in(top, "run.pd"));
    EXPECT_EQ(text("Text3"), "run");
}

TEST_F(SelectDir, DirectoryListAndPatternMoveTheFileListButNeverTheProcess)
{
    open();
    click("Dir1", "site2", true);
    EXPECT_EQ(text("Text2"), QDir::toNativeSeparators(top + "/site2"));
    EXPECT_EQ(items("Dir1"), QStringList({"..", "deeper"}));
    EXPECT_EQ(items("File1"), QStringList({"plot7.pd"}));

    // The keyboard opens a directory too, and Enter there does not accept the window.
    list("Dir1")->setCurrentRow(0);
    QTest::keyClick(list("Dir1"), Qt::Key_Return);
    EXPECT_EQ(text("Text2"), QDir::toNativeSeparators(top));
    EXPECT_TRUE(d->isVisible());

    auto* pattern = child<QLineEdit>("Text1");
    pattern->selectAll();
    QTest::keyClicks(pattern, "*.txt");
    EXPECT_EQ(items("File1"), QStringList({"notes.txt"}));
    EXPECT_EQ(text("Text3"), "Fname"); // refiltering is no choice of a file
    click("File1", "notes.txt");
    EXPECT_EQ(accept(), in(top, "notes.pd"));
    EXPECT_EQ(QDir::currentPath(), top);
}

TEST_F(SelectDir, CancelComposesNothing)
{
    open();
    click("File1", "data.pd");
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->composedPath().isEmpty());
}

TEST_F(SelectDir, WorkingDirectoryThatCannotBeListedFallsBackToHome)
{
    ASSERT_TRUE(QDir::setCurrent(top + "/site2/deeper"));
    ASSERT_TRUE(QDir(top + "/site2").rmdir("deeper"));
    open();
    EXPECT_EQ(text("Text2"), QDir::toNativeSeparators(QDir::homePath()));
}

} // namespace
