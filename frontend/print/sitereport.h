#pragma once
// From a site's analysis to its pictures and its printed report: the chart
// inputs in the chosen unit and the page-1 figures, shared by the analysis
// window and the console program so that both print the same PDF.
#include "reportprinter.h"
#include "sitecharts.h"
#include "sitestats.h"

namespace veldesk {

namespace sitereport {

sitecharts::KsInput ksInput(const sitestats::Analysis& a, const sitestats::Options& o);
sitecharts::ProbabilityInput probabilityInput(const sitestats::Analysis& a, const sitestats::Options& o);

// A figure as printed: figuretext::shown in the operator's number format,
// its unit after it; figuretext::kUndefined alone when there is no such figure.
QString printed(double value, const QString& unit, figuretext::Kind kind = figuretext::Kind::Value);

// Everything the printout needs, today's date included.
reportprinter::SiteReport siteReport(const QStringList& reportLines, const sitestats::Analysis& a,
                                     const sitestats::Options& o);

// Reads the report file, analyses it with the options and writes the PDF.
// On failure returns false and *error says why (without the file names when
// the report is at fault, as loadReport does).
bool writeSitePdf(const QString& reportPath, const sitestats::Options& o, const QString& pdfPath,
                  QString* error = nullptr);

} // namespace sitereport

} // namespace veldesk
