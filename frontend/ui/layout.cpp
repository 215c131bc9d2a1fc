#include "layout.h"

#include <QStringList>

namespace veldesk {

int pixelsOf(int twips, TwipRounding rounding)
{
    return (rounding == TwipRounding::Nearest ? twips + 7 : twips) / 15;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(pixelsOf(left), pixelsOf(top), pixelsOf(width), pixelsOf(height));
}

QFont layoutFont(double points, bool bold)
{
    // Arial-like faces come closest to the metrics of the original layouts.
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                   QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace veldesk
