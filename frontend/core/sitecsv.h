#pragma once
// The CSV forms of a site's figures, shared by the analysis window's export
// and the console program velstat: "." as separator, 15 significant digits, an empty
// field where a figure is undefined, lines ended by LF.
#include "sitestats.h"

#include <QString>

namespace veldesk {

namespace sitecsv {

// One text field: an apostrophe before a first character that a spreadsheet
// takes for the start of a formula ("=", "+", "-", "@", tab, CR), then
// quoted when it holds a comma, a quote or a line end.
QString field(const QString& text);

// file,readings,used,excluded,ks_gm,...,tests_needed,excluded_w,excluded_invalid
// (the unit in ASCII: "um/s")
QString summaryHeader();
// One report's row under summaryHeader(), ended by "\n".
QString summaryRow(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o);

// file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags,used
QString readingsHeader();
// One row per reading, each ended by "\n": Ks and Psi_m in the options'
// units, w 1 for a W mark and 0 otherwise, the flags' short names joined by
// ";", used 1 when the reading enters the statistics and 0 otherwise.
QString readingsRows(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o);

// One site's CSV file as the analysis window exports it: the summary header
// and row, an empty line, then the readings' header and rows; with a UTF-8
// byte-order mark and CR LF, so that spreadsheets on every platform take the
// file for UTF-8 ("µ", accented file names) and split its lines.
QByteArray siteFile(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o);

} // namespace sitecsv

} // namespace veldesk
