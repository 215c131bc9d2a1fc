#include "icons.h"

QIcon buttonIcon(const QString& name)
{
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".png"));
}
