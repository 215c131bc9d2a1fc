// Run-time files are found in the working directory first, then beside the
// program, then in the installed shared data directory.
#include "runtime_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

TEST(RuntimeFiles, SearchOrderIsWorkingDirectoryProgramDirectoryThenSharedData)
{
    QTemporaryDir root;
    const QString work = root.filePath("work");
    const QString bin = root.filePath("prefix/bin");
    const QString share = root.filePath("prefix/share/veldesk");
    QDir().mkpath(work);
    QDir().mkpath(bin);

    EXPECT_EQ(findRuntimeFile("romax.ico", work, bin), QString());
    touch(share + "/romax.ico");
    EXPECT_EQ(findRuntimeFile("romax.ico", work, bin), share + "/romax.ico");
    touch(bin + "/romax.ico");
    EXPECT_EQ(findRuntimeFile("romax.ico", work, bin), bin + "/romax.ico");
    touch(work + "/romax.ico");
    EXPECT_EQ(findRuntimeFile("romax.ico", work, bin), work + "/romax.ico");
}

TEST(RuntimeFiles, ADirectoryOfThatNameDoesNotCount)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("velpra.pdf");
    EXPECT_EQ(findRuntimeFile("velpra.pdf", root.path(), QString()), QString());
}

} // namespace
