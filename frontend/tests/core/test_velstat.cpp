// The console program velstat run on reports written by the test: its output
// forms, the undefined figures, and its exit statuses.
#include "test_support.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome velstat(const QStringList& args, const QString& dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(VELSTAT_EXE, args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

struct Velstat : ::testing::Test {
    QTemporaryDir tmp;
    QString dir = tmp.path();
    void SetUp() override
    {
        writeFile(dir + "/two.out", reportOf({kRow1, kRow2}));
        // Ks 1, 2 and 4 e-5: GM 2e-5 m/s, which is 72 mm/h.
        writeFile(dir + "/three.out",
                  reportOf({"     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.1000E-04 0.0140",
                            "     2  0.7000    300.   1200. 180.00   5.66   4.50   5.92   0.2000E-04 0.0140",
                            "     3  0.2000   1200.   1200. 180.00   5.66   4.50   5.92   0.4000E-04 0.0140"}));
        writeFile(dir + "/notes.txt", "not a report\r\n");
    }
};

} // namespace

TEST_F(Velstat, CsvRowPerReportWithEmptyFieldsWhereUndefined)
{
    const Outcome r = velstat({"--csv", "--unit", "mm/h", "--rule", "median", "--safety-factor", "2", "two.out",
                           "notes.txt", "three.out"},
                          dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("notes.txt")) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], "file,readings,used,excluded,ks_gm,ks_gsd,ks_ci95_low,ks_ci95_high,ks_median,ks_mean,ks_sd,"
                        "ks_cv,ks_min,ks_max,psi_median,psi_mean,psi_min,psi_max,rule,safety_factor,design_value,"
                        "unit,psi_unit,tests_needed");
    // One reading used of two (the other W-marked): no spread, no interval.
    EXPECT_EQ(lines[1], "two.out,2,1,1,146.628,,,,146.628,146.628,,,146.628,146.628,0.014,0.014,0.014,0.014,"
                        "median,2,73.314,mm/h,m,");
    const QStringList three = lines[2].split(',');
    ASSERT_EQ(three.size(), 24);
    EXPECT_EQ(three[4], "72");      // the GM
    EXPECT_EQ(three[5], "2");       // GSD, a ratio
    EXPECT_EQ(three[20], "36");     // median 72 / 2
    // s = ln 2, X = 20 %: n = 57 would need (t(56) ln 2 / ln 1.2)^2 = 58.0,
    // n = 58 needs 57.96.
    EXPECT_EQ(three[23], "58");
}

TEST_F(Velstat, ReadingsWithUnitsAndFlags)
{
    const Outcome r = velstat({"--readings", "--unit", "um/s", "--psi-unit", "cm", "--include-flagged", "two.out",
                           "three.out"},
                          dir);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags");
    EXPECT_EQ(lines[1], "two.out,1,0.2,300,1200,40.73,1.4,0,");
    EXPECT_EQ(lines[2], "two.out,2,0.2,300,600,0.8684,1300.08,1,");
    EXPECT_EQ(lines[4], "three.out,2,0.7,300,1200,20,1.4,0,dtheta");
    EXPECT_EQ(lines[5], "three.out,3,0.2,1200,1200,40,1.4,0,tfin<=thalf");
}

TEST_F(Velstat, ReadableBlockAndCommandLineErrors)
{
    const Outcome ok = velstat({"--precision", "50", "three.out"}, dir);
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(ok.out.startsWith("three.out\n"));
    EXPECT_TRUE(ok.out.contains(QRegularExpression("Design value: geometric mean / 1 +2.000e-05 m/s\n")))
        << ok.out.toStdString();
    // Figures as the window and the printed report write them: 4 significant
    // digits, whole counts, and one word for a figure that cannot be computed.
    const Outcome one = velstat({"--unit", "mm/h", "two.out"}, dir);
    EXPECT_EQ(one.status, 0);
    EXPECT_TRUE(one.out.contains(QRegularExpression("Ks standard deviation +undefined\n"))) << one.out.toStdString();
    EXPECT_TRUE(one.out.contains(QRegularExpression("Ks median +146.6 mm/h\n"))) << one.out.toStdString();
    EXPECT_TRUE(one.out.contains(QRegularExpression("Readings used +1\n"))) << one.out.toStdString();

    for (const QStringList& bad : {QStringList{"--unit", "ft/d", "three.out"}, QStringList{"--psi-unit", "mm", "three.out"},
                                   QStringList{"--rule", "max", "three.out"},
                                   QStringList{"--safety-factor", "0", "three.out"},
                                   QStringList{"--precision", "-5", "three.out"},
                                   QStringList{"--csv", "--readings", "three.out"}, QStringList{"--bogus", "three.out"},
                                   QStringList{}}) {
        const Outcome r = velstat(bad, dir);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("usage: velstat")) << bad.join(' ').toStdString();
    }
}
