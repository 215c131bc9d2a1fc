#pragma once
// Writing a file so that it is never left half-written: the new contents go to
// a temporary file beside the target, which replaces the target only once it
// is complete. On any failure the old file stays as it was.
#include <QByteArray>
#include <QString>

namespace veldesk {

// True when `path` now holds exactly `bytes`. On failure, when `error` is
// given, it receives the path and the reason.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace veldesk
