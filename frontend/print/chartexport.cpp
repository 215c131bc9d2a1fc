#include "chartexport.h"

#include "atomic_file.h"

#include <QBuffer>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

namespace veldesk {

namespace chartexport {

void copyToClipboard(QChartView& view) { QGuiApplication::clipboard()->setImage(view.grab().toImage()); }

bool save(QChartView& view, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(view.size());
        svg.setViewBox(QRect(QPoint(0, 0), view.size()));
        svg.setTitle(view.chart() ? view.chart()->title() : QString());
        QPainter p(&svg);
        view.render(&p);
    } else if (!view.grab().toImage().save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("The picture could not be made.");
        return false;
    }
    return writeAtomically(path, bytes, error);
}

} // namespace chartexport

} // namespace veldesk
