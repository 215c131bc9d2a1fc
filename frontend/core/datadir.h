#pragma once
// Rules of the data directory window, kept apart from its widgets: where the
// window starts, how the directory list moves, which files the file list shows
// and how "Aceptar" composes the data-set path from the directory and the name.
// Nothing here creates, opens or writes a file, and nothing changes the
// process's working directory.
#include <QChar>
#include <QString>
#include <QStringList>

namespace veldesk {

namespace datadir {

// Directory the window lists when it opens: the working directory when it can be
// listed; otherwise "C:\ZEDAT" where that exists (the field laptops of the
// original installation); otherwise the user's home directory.
QString initialDirectory(const QString& workingDir);

// The path shown in the path box for a directory: absolute, with the platform's
// separators and no closing separator except for a root ("/", "C:\").
QString shownPath(const QString& dir);

// The directory reached by opening `entry` ("..", or the name of a
// subdirectory) in the list that shows `dir`. The parent of a root is the root.
QString enterDirectory(const QString& dir, const QString& entry);

// The entries of the directory list for `dir`: ".." first (except at a root),
// then the subdirectories that are not hidden, by name, case-insensitively.
QStringList directoryEntries(const QString& dir);

// The file list's patterns from the pattern box: several patterns may be
// separated by ";" (for example "*.pd;*.txt"); blanks around them are dropped;
// an empty box lists every file.
QStringList patrones(const QString& patternBox);

// The names (no directory) of the files in `dir` that match `patternBox`,
// case-insensitively as on the desktop the data sets come from, by name.
QStringList archivos(const QString& dir, const QString& patternBox);

// The file name as "Aceptar" keeps it: cut before its first "."
// ("data.pd" -> "data", "a.b.pd" -> "a"); a name without "." is unchanged.
QString cutName(const QString& name);

// The data-set path composed by "Aceptar": directory, separator, the cut name
// and ".pd". A directory that already ends in a separator (a root such as "/"
// or "C:\") gets no second one. Both "/" and "\" count as a closing separator.
QString composePath(const QString& dir, const QString& name, QChar separator);

} // namespace datadir

} // namespace veldesk
