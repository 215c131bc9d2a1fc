#pragma once
// The CSV forms of a site's figures, shared by the analysis window's export
// and the console program velstat: "." as separator, 15 significant digits, an empty
// field where a figure is undefined, lines ended by LF.
#include "sitestats.h"

#include <QString>

namespace veldesk {

namespace sitecsv {

// One field, quoted when it holds a comma, a quote or a line end.
QString field(const QString& text);

// file,readings,used,excluded,ks_gm,...,tests_needed
QString summaryHeader();
// One report's row under summaryHeader(), ended by "\n".
QString summaryRow(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o);

// file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags
QString readingsHeader();
// One row per reading, each ended by "\n": Ks and Psi_m in the options'
// units, w 1 for a W mark and 0 otherwise, the flags' short names joined by ";".
QString readingsRows(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o);

} // namespace sitecsv

} // namespace veldesk
