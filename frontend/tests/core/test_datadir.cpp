// Rules of the data directory window: the composed data-set path, the start
// directory and its fallback, moving in the directory tree, the file filter.
#include "datadir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace datadir;

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(DataDirName, AcceptCutsTheNameBeforeItsFirstDot)
{
    EXPECT_EQ(corta_nombre("data.pd"), "data");
    EXPECT_EQ(corta_nombre("run.2002.pd"), "run");
    EXPECT_EQ(corta_nombre("notes.txt"), "notes");
    EXPECT_EQ(corta_nombre("Fname"), "Fname");
    EXPECT_EQ(corta_nombre(".pd"), "");
    EXPECT_EQ(corta_nombre(""), "");
}

TEST(DataDirName, ComposesDirectorySeparatorCutNameAndPdExtension)
{
    EXPECT_EQ(compone_ruta("/home/field", "Fname", '/'), "/home/field/Fname.pd");
    EXPECT_EQ(compone_ruta("/home/field", "data.pd", '/'), "/home/field/data.pd");
    EXPECT_EQ(compone_ruta("/home/field", "run.2002.pd", '/'), "/home/field/run.pd");
    EXPECT_EQ(compone_ruta("/home/field", "readings.txt", '/'), "/home/field/readings.pd");
    EXPECT_EQ(compone_ruta("C:\\ZEDAT", "Fname", '\\'), "C:\\ZEDAT\\Fname.pd");
    // No checks: an empty name or a directory typed by hand is used as it is.
    EXPECT_EQ(compone_ruta("/no/such/dir", "", '/'), "/no/such/dir/.pd");
    EXPECT_EQ(compone_ruta("relative dir", "x", '/'), "relative dir/x.pd");
}

TEST(DataDirName, ARootKeepsItsOwnSeparatorWithoutDoublingIt)
{
    EXPECT_EQ(compone_ruta("/", "data.pd", '/'), "/data.pd");
    EXPECT_EQ(compone_ruta("C:\\", "data.pd", '\\'), "C:\\data.pd");
    EXPECT_EQ(compone_ruta("C:/", "data", '\\'), "C:/data.pd");
}

TEST(DataDirStart, WorkingDirectoryWhenListableOtherwiseHome)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    EXPECT_EQ(directorio_inicial(tmp.path()), QDir(tmp.path()).absolutePath());
    EXPECT_EQ(directorio_inicial(tmp.path() + "/gone"), QDir::homePath());
    touch(tmp.filePath("plain.pd"));
    EXPECT_EQ(directorio_inicial(tmp.filePath("plain.pd")), QDir::homePath());
    EXPECT_EQ(directorio_inicial(""), QDir::homePath());
}

TEST(DataDirStart, ShownPathHasNativeSeparatorsAndNoClosingOneExceptAtTheRoot)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString shown = ruta_mostrada(tmp.path() + "/");
    EXPECT_EQ(shown, QDir::toNativeSeparators(QDir(tmp.path()).absolutePath()));
    EXPECT_FALSE(shown.endsWith(QDir::separator()));
    EXPECT_EQ(ruta_mostrada(QDir::rootPath()), QDir::toNativeSeparators(QDir::rootPath()));
}

TEST(DataDirTree, ListsParentThenVisibleSubdirectoriesAndMovesBothWays)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString top = QDir(tmp.path()).absolutePath();
    QDir(top).mkpath("beta/inner");
    QDir(top).mkpath("Alpha");
    QDir(top).mkpath(".hidden");
    touch(top + "/file.pd");

    EXPECT_EQ(entradas_directorio(top), QStringList({"..", "Alpha", "beta"}));
    const QString beta = entra_directorio(top, "beta");
    EXPECT_EQ(beta, top + "/beta");
    EXPECT_EQ(entradas_directorio(beta), QStringList({"..", "inner"}));
    EXPECT_EQ(entra_directorio(beta, ".."), top);

    EXPECT_FALSE(entradas_directorio(QDir::rootPath()).contains(".."));
    EXPECT_EQ(entra_directorio(QDir::rootPath(), ".."), QDir::rootPath());
}

TEST(DataDirFiles, PatternSelectsFilesCaseInsensitivelyAndSeveralMayBeGiven)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const char* n : {"b.pd", "A.PD", "notes.txt", "pd", "run.pd.bak"})
        touch(tmp.filePath(n));
    QDir(tmp.path()).mkpath("dir.pd"); // a directory is never a file of the list

    EXPECT_EQ(archivos(tmp.path(), "*.pd"), QStringList({"A.PD", "b.pd"}));
    EXPECT_EQ(archivos(tmp.path(), "*.txt"), QStringList({"notes.txt"}));
    EXPECT_EQ(archivos(tmp.path(), " *.pd ; *.txt"), QStringList({"A.PD", "b.pd", "notes.txt"}));
    EXPECT_EQ(archivos(tmp.path(), "*.*").size(), 4);
    EXPECT_EQ(archivos(tmp.path(), "").size(), 5);
    EXPECT_EQ(archivos(tmp.path() + "/missing", "*.pd"), QStringList());
}
