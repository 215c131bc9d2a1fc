#include "exportpath.h"

#include <QDir>
#include <QFileInfo>

namespace veldesk {

QString proposedExportPath(const QString& dataSetPath, const QString& ending)
{
    const QFileInfo set(dataSetPath);
    return set.dir().filePath(set.completeBaseName() + ending);
}

} // namespace veldesk
