#include "icons.h"

#include <QImageReader>
#include <QPixmap>

namespace veldesk {

QIcon buttonIcon(const QString& name)
{
    // Read as PNG, the format the pictures are stored in, without asking the
    // image-format plugins: identifying a picture loads every one of them,
    // which costs the start-up a good part of its time.
    QImageReader reader(QStringLiteral(":/icons/") + name + QStringLiteral(".png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace veldesk
