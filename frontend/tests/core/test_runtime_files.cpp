// Run-time files are found in the working directory first, then beside the
// program, then in the installed shared data directory. That order is driven
// through the about window's help lookup (ui/test_about.cpp).
#include "runtime_files.h"
#include "test_support.h"

using namespace veldesk;

TEST(RuntimeFiles, ADirectoryOfThatNameDoesNotCount)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("velpra.pdf");
    EXPECT_EQ(findRuntimeFile("velpra.pdf", root.path(), QString()), QString());
}
