#pragma once

#include <QString>
#include <QStringList>

namespace qaveq::ScheduleType {

// The service schedule type of a cost category: "N" none, "M" meter, "E"
// elapsed time, "B" meter or elapsed time. Any other stored letter is none.
QString normalized(const QString &code);

// The drop-down's entries and the codes they stand for.
QStringList choices(); // "None", "Meter", "Elapsed Time", "Meter or Elapsed Time"
QStringList codes();   // "N", "M", "E", "B"

bool showsMeter(const QString &code); // the meter unit and interval
bool showsTime(const QString &code);  // the time unit and interval

} // namespace qaveq::ScheduleType
