#pragma once
// "Print..." and "Export PDF..." of the analysis window: the site's printout
// shown in a print preview, from which it goes to the printer the operator
// picks, or written as a PDF file.
#include "reportprinter.h"

#include <functional>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace veldesk {

namespace siteprinting {

// A print preview of the printout, A4 portrait to begin with; the operator
// may change the printer, the paper and the orientation, and the pages are
// laid out again for them. The dialog owns its printer and deletes itself
// when closed; the caller shows it (open() or exec()).
QPrintPreviewDialog* preview(QWidget* parent, const reportprinter::SiteReport& report);

// Asks for a PDF file name and writes the printout there, adding ".pdf" to a
// name typed without an ending. Proposed is the data set's name with ".pdf"
// in the data set's folder, as for the CSV; without a data-set path, the name
// of the report's processed file alone. A failure is reported in a message
// box. Returns the path written, or empty when cancelled or failed.
using AskPath = std::function<QString(QWidget* parent, const QString& proposed)>;
QString exportPdf(QWidget* parent, const reportprinter::SiteReport& report, const QString& dataSetPath,
                  const AskPath& askPath = {});

} // namespace siteprinting

} // namespace veldesk
