// Rules of the data directory window: the composed data-set path and the file
// filter. (The start directory and its fallback are driven through the window.)
#include "datadir.h"

#include "test_support.h"

using namespace veldesk;

using namespace datadir;

// The plain cases (a name without a dot, cut at its first dot, another
// extension) are driven through the window in ui/test_selectdir.cpp.
TEST(DataDirName, ComposesDirectorySeparatorNameCutAtFirstDotAndPd)
{
    EXPECT_EQ(composePath("/home/field", "data.pd", '/'), "/home/field/data.pd");
    EXPECT_EQ(composePath("C:\\ZEDAT", "Fname", '\\'), "C:\\ZEDAT\\Fname.pd");
    // No checks: an empty name or a directory typed by hand is used as it is.
    EXPECT_EQ(composePath("/no/such/dir", ".pd", '/'), "/no/such/dir/.pd");
    EXPECT_EQ(composePath("relative dir", "x", '/'), "relative dir/x.pd");
    // A root keeps its own separator without a second one.
    EXPECT_EQ(composePath("/", "data.pd", '/'), "/data.pd");
    EXPECT_EQ(composePath("C:\\", "data.pd", '\\'), "C:\\data.pd");
    EXPECT_EQ(composePath("C:/", "data", '\\'), "C:/data.pd");
}

TEST(DataDirFiles, PatternSelectsFilesCaseInsensitivelyAndSeveralMayBeGiven)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const char* n : {"b.pd", "A.PD", "notes.txt", "pd", "run.pd.bak"})
        writeFile(tmp.filePath(n));
    QDir(tmp.path()).mkpath("dir.pd"); // a directory is never a file of the list

    EXPECT_EQ(archivos(tmp.path(), "*.pd"), QStringList({"A.PD", "b.pd"}));
    EXPECT_EQ(archivos(tmp.path(), " *.pd ; *.txt"), QStringList({"A.PD", "b.pd", "notes.txt"}));
    EXPECT_EQ(archivos(tmp.path(), "*.*").size(), 4);
    EXPECT_EQ(archivos(tmp.path(), "").size(), 5);
    EXPECT_EQ(archivos(tmp.path() + "/missing", "*.pd"), QStringList());
}
