#pragma once
// Helpers shared by the front end's tests: whole-file reading and writing,
// readable QString failures, and engine reports written by the test.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/resource.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A program this build made (VELPRA_EXE, VELSTAT_EXE, VELDESK_EXE), for the
// tests that run it. Missing, it fails the test that wanted it, by name: a
// test of the engine must never pass by not running it.
inline QString builtProgram(const char* path)
{
    EXPECT_TRUE(QFileInfo(QString::fromUtf8(path)).isExecutable()) << "the program is missing: " << path;
    return QString::fromUtf8(path);
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Creates the file's directory if needed.
inline void writeFile(const QString& path, const QByteArray& data = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// Runs `write` with every file this process writes capped at `bytes`, as on
// a full disk (the cap binds root too; a write beyond it fails instead of
// raising SIGXFSZ). Returns what `write` returned.
template <class Write>
bool underFileSizeLimit(rlim_t bytes, Write write)
{
    rlimit saved{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return ok;
}

// The two rows the engine prints for the worked example's readings.
const QString kRow1 = "     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4073E-04 0.0140";
const QString kRow2 = "     2  0.2000    300.    600. 180.00   5.66   4.50  20.00 * 0.8684E-0613.0008";
const QString kRule(79, '-');

// A report as the engine writes it, with the given table rows.
inline QStringList reportLines(const QStringList& rows)
{
    QStringList lines(16, " ");
    lines << "Processed file:/d/set.pd" << " Description:  V.Arezo" << " Pipe dimensions used" << "" << "h" << "u"
          << kRule << rows << kRule << "W=*" << "";
    return lines;
}

inline QByteArray reportOf(const QStringList& rows) { return reportLines(rows).join("\r\n").toLatin1(); }
