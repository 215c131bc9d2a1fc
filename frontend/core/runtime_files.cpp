#include "runtime_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace veldesk {

QStringList runtimeFileCandidates(const QString& name, const QString& workingDir,
                                  const QString& programDir)
{
    QStringList out;
    out << QDir(workingDir).filePath(name);
    if (!programDir.isEmpty()) {
        out << QDir(programDir).filePath(name);
        out << QDir::cleanPath(programDir + QStringLiteral("/../share/veldesk/") + name);
    }
    out.removeDuplicates();
    return out;
}

QString findRuntimeFile(const QString& name, const QString& workingDir, const QString& programDir)
{
    for (const QString& candidate : runtimeFileCandidates(name, workingDir, programDir)) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isReadable())
            return candidate;
    }
    return QString();
}

QString findRuntimeFile(const QString& name)
{
    const QString programDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                            : QString();
    return findRuntimeFile(name, QDir::currentPath(), programDir);
}

} // namespace veldesk
