// Descriptions checked against the real engine: every description Save
// accepts reaches the engine's report as intended with the pipe dimensions
// in their place, and every one it refuses for the engine's sake really is
// misread.
#include "datafile.h"
#include "report.h"
#include "test_support.h"

#include <QProcess>

using namespace veldesk;

namespace {

const QString kPipeLine = " Pipe dimensions used: ri= 0.0180 m; h0=   0.30 m";

// The report lines 18 and 19 after the engine ran on the composed file;
// empty when it failed.
QStringList engineReads(const QString& description)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("set.pd"), datafile::compose(description, "0.018", "0.3", {{"0.2", "300", "1200"}}));
    QProcess engine;
    engine.setWorkingDirectory(dir.path());
    engine.start(builtProgram(VELPRA_EXE), {QStringLiteral("set.pd")});
    if (!engine.waitForFinished(20000) || engine.exitCode() != 0)
        return {};
    QStringList lines;
    report::readLines(dir.filePath("pd.out"), &lines);
    return lines.mid(17, 2);
}

} // namespace

TEST(DescriptionThroughTheEngine, AcceptedOnesReadAsIntendedRefusedOnesWouldShiftOrFail)
{
    const struct {
        const char* description;
        const char* engineItem; // the engine's description, as UTF-8
    } accepted[] = {
        {"V.Arezo Input data", "V.Arezo"},
        {"  'it''s' plot 7", "it's"},
        {"\"Plot 3, B/2\"", "Plot 3, B/2"},
        {"Año–“7”,x", "Año–“7”"},
        {"/ notes", ""},
    };
    for (const auto& c : accepted) {
        const QString d = QString::fromUtf8(c.description);
        ASSERT_TRUE(datafile::checkDescription(d)) << c.description;
        const QStringList lines = engineReads(d);
        ASSERT_EQ(lines.size(), 2) << c.description;
        EXPECT_EQ(lines[0], " Description:  " + QString::fromUtf8(c.engineItem).leftJustified(50)) << c.description;
        EXPECT_EQ(lines[1], kPipeLine) << c.description;
    }
    for (const char* refused : {"", " ", "'98 campaign", "\"x"}) {
        ASSERT_FALSE(datafile::checkDescription(QString::fromUtf8(refused))) << refused;
        const QStringList lines = engineReads(QString::fromUtf8(refused));
        EXPECT_TRUE(lines.size() < 2 || lines[1] != kPipeLine) << refused;
    }
}
