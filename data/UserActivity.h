#pragma once

#include <QString>

namespace qaveq {

class Clock;

namespace data {

class Session;

// Writes one entry of the user-activity log (the signed-on user, today's date
// and time, the area and the text) when the session logs user activity at its
// full level (2); does nothing otherwise. An entry that cannot be written does
// not undo the change it describes.
void logUserActivity(Session &session, const Clock &clock, const QString &area,
                     const QString &text);

} // namespace data

} // namespace qaveq
