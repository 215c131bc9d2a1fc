#include "siteprinting.h"

#include "exportpath.h"
#include "reportpages.h"
#include "seam.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace veldesk {

namespace siteprinting {

QPrintPreviewDialog* preview(QWidget* parent, const reportprinter::SiteReport& report)
{
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 15, 15),
                                       QPageLayout::Millimeter));
    printer->setDocName(QStringLiteral("Site report"));
    auto* dialog = new QPrintPreviewDialog(printer, parent);
    dialog->setObjectName(QStringLiteral("printPreview"));
    dialog->setWindowTitle(QStringLiteral("Print preview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->resize(860, 900); // a whole A4 page readable at once
    QObject::connect(dialog, &QObject::destroyed, [printer] { delete printer; });
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [report](QPrinter* p) { reportprinter::paint(report, *p); });
    return dialog;
}

QString exportPdf(QWidget* parent, const reportprinter::SiteReport& report, const QString& dataSetPath,
                  const AskPath& askPath)
{
    QString name;
    if (!dataSetPath.isEmpty()) {
        name = proposedExportPath(dataSetPath, QStringLiteral(".pdf"));
    } else {
        name = report.dataSetName.isEmpty() ? reportpages::dataSetName(report.reportLines) : report.dataSetName;
        const int dot = name.lastIndexOf('.');
        name = (dot > 0 ? name.left(dot) : name.isEmpty() ? QStringLiteral("site") : name) + QStringLiteral(".pdf");
    }
    QString path = askPath ? askPath(parent, name)
                           : QFileDialog::getSaveFileName(parent, QStringLiteral("Export PDF"), name,
                                                          QStringLiteral("PDF document (*.pdf)"));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!reportprinter::writePdf(report, path, &error)) {
        veldesk::showMessage(parent, QStringLiteral("The PDF could not be written: %1").arg(error),
                             veldesk::MsgIcon::Critical);
        return {};
    }
    return path;
}

} // namespace siteprinting

} // namespace veldesk
