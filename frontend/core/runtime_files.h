#pragma once
// Files the front end opens at run time by bare name: the results window's
// heading pictures and the help document. They are looked for in the working
// directory first, then beside the program file, then in the shared data
// directory of an installed system (<prefix>/share/veldesk next to
// <prefix>/bin), so a front end started from a desktop menu finds them too.
#include <QString>
#include <QStringList>

namespace veldesk {

// The places searched, in order, for a file named `name`.
QStringList runtimeFileCandidates(const QString& name, const QString& workingDir,
                                  const QString& programDir);

// The first readable candidate, or an empty string when there is none.
QString findRuntimeFile(const QString& name, const QString& workingDir,
                        const QString& programDir);

// The same for this process (working directory and program directory as now).
QString findRuntimeFile(const QString& name);

} // namespace veldesk
