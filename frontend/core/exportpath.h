#pragma once
// Where the analysis window proposes to write what it exports (the CSV, the
// PDF): beside the data set the report came from and named after it, so the
// files of a site stay together whatever folder the program was started in.
#include <QString>

namespace veldesk {

// The data set's folder and its name without the last ending, followed by
// `ending`: "/d/orchard.pd" with "_analysis.csv" gives
// "/d/orchard_analysis.csv", with ".pdf" "/d/orchard.pdf".
QString proposedExportPath(const QString& dataSetPath, const QString& ending);

} // namespace veldesk
