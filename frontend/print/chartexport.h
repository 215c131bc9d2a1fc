#pragma once
// A chart as a picture: to the clipboard, or saved as PNG or SVG. The SVG is
// drawn as vectors, so it stays sharp in a document at any size.
#include <QString>

class QChartView;

namespace veldesk {

namespace chartexport {

// Puts a picture of the chart, as drawn in its view, on the clipboard.
void copyToClipboard(QChartView& view);

// Saves the chart by the file's extension: ".svg" as SVG, anything else as
// PNG. The file is replaced only when the picture could be written; on
// failure returns false with the reason.
bool save(QChartView& view, const QString& path, QString* error = nullptr);

} // namespace chartexport

} // namespace veldesk
