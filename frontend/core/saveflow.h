#pragma once
// The decisions of Save, free of windows: which refusals and questions come
// before the data-set file is written, in which order, and with what text.
// The main window gathers the facts, shows the steps one by one (a refusal
// ends the command, a question answered No ends it) and writes the file only
// when every step has passed.
#include "datafile.h"

#include <QList>
#include <QString>

namespace veldesk {

namespace saveflow {

struct Facts {
    QString path;               // the file-name box, used unchanged
    QString descriptionProblem; // datafile::checkDescription's reason; empty when the engine reads it right
    bool fileExists = false;    // a file of that name can be opened for reading
    // What the file last opened from this path holds that the grid does not
    // show ("holds more than 100 readings; ..."); empty when nothing, or when
    // the path names another file.
    QString unshown;
    datafile::Extent extent;    // how far the readings go
};

struct Step {
    enum Kind { Refuse, Ask } kind = Refuse;
    QString text;
    // For a question: No is the answer Return gives, where Yes would lose data.
    bool defaultNo = false;
    friend bool operator==(const Step&, const Step&) = default;
};

// The steps in order: refusals first (nothing is asked when nothing can be
// written), then the questions. An empty path gives no step and no write.
struct Plan {
    QList<Step> steps;
    bool write = false; // true: writing follows once every question is answered Yes
};

Plan plan(const Facts& facts);

// The grid's column headings as the operator reads them.
QString columnName(int col);

} // namespace saveflow

} // namespace veldesk
