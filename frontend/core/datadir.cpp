#include "datadir.h"

#include <QDir>
#include <QFileInfo>

namespace veldesk {

namespace datadir {
namespace {

bool listable(const QString& dir)
{
    if (dir.isEmpty())
        return false;
    const QFileInfo info(dir);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

QString initialDirectory(const QString& workingDir)
{
    if (listable(workingDir))
        return QDir(workingDir).absolutePath();
    const QString zedat = QStringLiteral("C:/ZEDAT");
#ifdef Q_OS_WIN
    if (listable(zedat))
        return zedat;
#else
    Q_UNUSED(zedat);
#endif
    return QDir::homePath();
}

QString shownPath(const QString& dir)
{
    return QDir::toNativeSeparators(QDir(dir).absolutePath());
}

QString enterDirectory(const QString& dir, const QString& entry)
{
    QDir d(dir);
    if (entry == QLatin1String("..")) {
        if (!d.isRoot())
            d.cdUp();
        return d.absolutePath();
    }
    return QDir::cleanPath(d.absoluteFilePath(entry));
}

QStringList directoryEntries(const QString& dir)
{
    const QDir d(dir);
    QStringList out;
    if (!d.isRoot())
        out << QStringLiteral("..");
    out << d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    return out;
}

QStringList patrones(const QString& patternBox)
{
    QStringList out;
    for (const QString& p : patternBox.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out;
}

QStringList archivos(const QString& dir, const QString& patternBox)
{
    QDir d(dir);
    // No QDir::CaseSensitive flag: the name filters match regardless of case.
    d.setNameFilters(patrones(patternBox));
    d.setFilter(QDir::Files);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    return d.entryList();
}

QString cutName(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString composePath(const QString& dir, const QString& name, QChar separator)
{
    const bool closed = dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'));
    return dir + (closed ? QString() : QString(separator)) + cutName(name) + QStringLiteral(".pd");
}

} // namespace datadir

} // namespace veldesk
