#pragma once
// The one way the front end's core reports a failure: false, with the reason
// in *error when the caller wants it.
#include <QString>

namespace veldesk {

inline bool reportFailure(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace veldesk
