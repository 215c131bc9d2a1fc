#include "atomic_file.h"

#include "failure.h"

#include <QFileInfo>
#include <QSaveFile>

namespace veldesk {

bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    const auto fail = [&](const QString& why) { return reportFailure(error, path + QStringLiteral(": ") + why); };
    if (path.isEmpty())
        return fail(QStringLiteral("no file name"));
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("is a directory"));
    // Unbuffered, so that a short write (disk full, file size limit) shows
    // here: a buffered QSaveFile can commit a truncated file after one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        return fail(file.errorString()); // the temporary is discarded uncommitted
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace veldesk
