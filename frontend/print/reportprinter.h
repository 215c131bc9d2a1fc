#pragma once
// The printed report of a site: page 1 with the data set, the programs'
// versions, the statistics, the design value and the Ks chart; then the
// engine's report exactly as written, in fixed-pitch type scaled so that every
// column fits, with the data set's name and the page number on every page.
// Paints onto any paged device: a QPdfWriter for a PDF, a QPrinter for paper.
#include "sitecharts.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace veldesk {

namespace reportprinter {

struct SiteReport {
    QStringList reportLines;  // the report file, line by line, as the engine wrote it
    QString dataSetName;      // empty: taken from the report's processed-file line
    QString date;             // as it should be printed
    QString frontEndVersion;  // "1.0"
    // The statistics block, row by row: label and formatted value.
    QList<QPair<QString, QString>> statistics;
    QString designValue;      // "12.3 mm/h"
    QString designRule;       // "median, safety factor 2"
    sitecharts::KsInput chart;
};

// The front end's own version, the project's version number.
QString frontEndVersion();

// Paints the whole printout; returns the number of pages painted, 0 when the
// device could not be painted on.
int paint(const SiteReport& report, QPagedPaintDevice& device);

// Writes the printout as an A4 PDF. On failure returns false with the reason.
bool writePdf(const SiteReport& report, const QString& path, QString* error = nullptr);

} // namespace reportprinter

} // namespace veldesk
