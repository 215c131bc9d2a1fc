// The console program velstat run on reports written by the test: its output
// forms, the undefined figures, and its exit statuses.
#include "test_support.h"

#include <QProcess>
#include <QFile>
#include <cstdio>
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
    p.start(builtProgram(VELSTAT_EXE), args);
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
                        "unit,psi_unit,tests_needed,excluded_w,excluded_invalid");
    // One reading used of two (the other W-marked): no spread, no interval.
    EXPECT_EQ(lines[1], "two.out,2,1,1,146.628,,,,146.628,146.628,,,146.628,146.628,0.014,0.014,0.014,0.014,"
                        "median,2,73.314,mm/h,m,,1,0");
    const QStringList three = lines[2].split(',');
    ASSERT_EQ(three.size(), 26);
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
    EXPECT_EQ(lines[0], "file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags,used");
    EXPECT_EQ(lines[1], "two.out,1,0.2,300,1200,40.73,1.4,0,,1");
    EXPECT_EQ(lines[2], "two.out,2,0.2,300,600,0.8684,1300.08,1,,1");
    EXPECT_EQ(lines[4], "three.out,2,0.7,300,1200,20,1.4,0,dtheta,1");
    EXPECT_EQ(lines[5], "three.out,3,0.2,1200,1200,40,1.4,0,tfin<=thalf,1");

    // Without --include-flagged the W-marked reading is not used; the unit
    // column of the summary is ASCII whatever was typed.
    const Outcome plain = velstat({"--readings", "two.out"}, dir);
    EXPECT_TRUE(plain.out.contains("\ntwo.out,2,0.2,300,600,8.684e-07,13.0008,1,,0\n")) << plain.out.toStdString();
    for (const char* typed : {"um/s", "\u00b5m/s"}) {
        const Outcome csv = velstat({"--csv", "--unit", QString::fromUtf8(typed), "three.out"}, dir);
        EXPECT_EQ(csv.out.split('\n')[1].split(',')[21], "um/s") << typed;
    }
}

TEST_F(Velstat, ReadableBlockAndCommandLineErrors)
{
    const Outcome ok = velstat({"--precision", "50", "three.out"}, dir);
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(ok.out.startsWith("three.out\n"));
    // 4 significant digits, as on screen and in the manual; the interval of
    // fewer than 5 readings and the readings needed say what they rest on.
    EXPECT_TRUE(ok.out.contains(QRegularExpression("\n  Design value: geometric mean / 1 +2\\.000e-05 m/s\n")))
        << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("\n  Ks geometric standard deviation +2\\.000\n")));
    EXPECT_TRUE(ok.out.contains(QRegularExpression("\n  Readings used +3\n")));
    EXPECT_TRUE(ok.out.contains(QRegularExpression("\n  Ks GM 95 % confidence, low \\(rests on 3 readings\\) +3\\.575e-06 m/s\n")));
    EXPECT_TRUE(ok.out.contains(QRegularExpression("\n  Readings for the GM within \u00b150 % \\(an estimate from 3 readings\\) +14\n")))
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
                                   QStringList{"--precision", "1e-9", "three.out"},
                                   QStringList{"--precision", "0.09", "three.out"},
                                   QStringList{"--precision", "1001%", "three.out"},
                                   QStringList{"--no-header", "three.out"},
                                   QStringList{"--csv", "--readings", "three.out"}, QStringList{"--bogus", "three.out"},
                                   QStringList{}}) {
        const Outcome r = velstat(bad, dir);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("usage: velstat")) << bad.join(' ').toStdString();
    }
    // The same version as the desktop program's.
    EXPECT_EQ(velstat({"--version"}, dir).out.trimmed(), "velstat 1.0");
    // The ends of the precision's range are accepted.
    for (const char* x : {"0.1", "1000"})
        EXPECT_EQ(velstat({"--csv", "--precision", x, "three.out"}, dir).status, 0) << x;
    // The retired rule is refused with the reason.
    const Outcome retired = velstat({"--rule", "trimmed-median", "three.out"}, dir);
    EXPECT_EQ(retired.status, 2);
    EXPECT_TRUE(retired.err.contains("always equals the median")) << retired.err.toStdString();
    const Outcome trimmed = velstat({"--csv", "--rule", "trimmed-mean", "three.out"}, dir);
    EXPECT_EQ(trimmed.out.split('\n')[1].split(',').mid(18, 3), QStringList({"trimmed-mean", "1", "2e-05"}));
}

// A Δθ that fills or overflows its columns, and a line that is no reading,
// cost one reading each, never the report.
TEST_F(Velstat, WideAndStarredFieldsKeepTheOtherReadings)
{
    writeFile(dir + "/wide.out",
              reportOf({kRow1, "     2150.0000    300.   1200.   0.24   1.07   1.04   1.41   0.1353E-06 1.9352",
                        "     3********    300.   1200.   0.04   1.01   1.01   1.37   0.3596E-0812.5330",
                        "     4  0.2000**************** 180.00   5.66   4.50   6.47   0.8642E-09 0.1186",
                        "no reading here", kRow2}));
    const Outcome r = velstat({"--readings", "wide.out"}, dir);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts).mid(1),
              QStringList({"wide.out,1,0.2,300,1200,4.073e-05,0.014,0,,1",
                           "wide.out,2,150,300,1200,1.353e-07,1.9352,0,dtheta;ks-range,1",
                           "wide.out,3,,300,1200,3.596e-09,12.533,0,dtheta;ks-range,1",
                           "wide.out,4,0.2,,,8.642e-10,0.1186,0,ks-range,1",
                           "wide.out,5,,,,,,0,bad-result,0",
                           "wide.out,2,0.2,300,600,8.684e-07,13.0008,1,,0"})); // numbered as printed
}

// Text fields a spreadsheet would take for a formula get an apostrophe;
// numbers are never touched.
TEST_F(Velstat, CsvTextFieldsNeverStartAFormula)
{
    QFile::copy(dir + "/three.out", dir + "/=HYPERLINK(\"http:x\").out");
    QFile::copy(dir + "/three.out", dir + "/-1.out");
    QFile::copy(dir + "/three.out", dir + "/@a.out");
    const Outcome r = velstat({"--csv", "--", "=HYPERLINK(\"http:x\").out", "-1.out", "@a.out"}, dir);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("\"'=HYPERLINK(\"\"http:x\"\").out\",3,3,0,2e-05,2,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("'-1.out,3,3,0,2e-05,2,"));
    EXPECT_TRUE(lines[3].startsWith("'@a.out,3,3,0,2e-05,2,"));
}

// Reports named by bytes that are not UTF-8 are opened as named; the CSV
// shows the name in UTF-8, a complaint gives the bytes as they were.
TEST_F(Velstat, AnyFileName)
{
    const QByteArray latin1 = QFile::encodeName(dir) + "/lat1\xe9.out";
    const QByteArray missing = QFile::encodeName(dir) + "/gone\xe9.out";
    {
        std::FILE* f = std::fopen(latin1.constData(), "wb");
        ASSERT_TRUE(f);
        const QByteArray report = reportOf({kRow1});
        std::fwrite(report.constData(), 1, std::size_t(report.size()), f);
        std::fclose(f);
    }
    // QProcess passes arguments through the local 8-bit encoding, which
    // cannot carry the byte; a shell can.
    QProcess p;
    p.start("/bin/sh", {"-c", "exec \"$0\" --csv \"$(printf '%s/lat1\\351.out' \"$1\")\" \"$(printf '%s/gone\\351.out' \"$1\")\"",
                        VELSTAT_EXE, dir});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QByteArray out = p.readAllStandardOutput(), err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(out.contains("/lat1\xc3\xa9.out,1,1,0,4.073e-05,")) << out.toStdString();
    EXPECT_TRUE(err.contains(missing + ": cannot be read")) << err.toStdString();
}

// Directories stand for every *.out below them, in sorted order; --no-header
// lets the output of several runs be joined.
TEST_F(Velstat, DirectoriesAndJoinedRuns)
{
    writeFile(dir + "/survey/b/pd.out", reportOf({kRow1}));
    writeFile(dir + "/survey/a.out", reportOf({kRow1}));
    writeFile(dir + "/survey/c/z.out", reportOf({kRow1}));
    writeFile(dir + "/survey/c/notes.txt", "not a report");
    writeFile(dir + "/survey/c/y.out", "not a report either");
    const Outcome r = velstat({"--csv", "survey", "three.out"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("survey/c/y.out: is not a report")) << r.err.toStdString();
    QStringList files;
    for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts).mid(1))
        files << line.section(',', 0, 0);
    EXPECT_EQ(files, QStringList({"survey/a.out", "survey/b/pd.out", "survey/c/z.out", "three.out"}));

    const Outcome a = velstat({"--readings", "three.out"}, dir), b = velstat({"--readings", "--no-header", "two.out"}, dir);
    EXPECT_EQ(velstat({"--readings", "three.out", "two.out"}, dir).out, a.out + b.out);
    EXPECT_FALSE(velstat({"--csv", "--no-header", "two.out"}, dir).out.startsWith("file,"));
}
