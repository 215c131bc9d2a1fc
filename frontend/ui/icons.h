#pragma once
// Button pictures, compiled into the program as resources (":/icons/<name>.png").
// Names: help, open, save, clear, copy, paste, evaluate, exit, data_clipboard,
// image_clipboard, ok, app (the window icon).
#include <QIcon>
#include <QString>

namespace veldesk {

QIcon buttonIcon(const QString& name);

} // namespace veldesk
