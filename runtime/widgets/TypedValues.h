#pragma once

#include <QString>

class QLineEdit;

namespace qaveq::TypedValues {

// Offers in `line`, as the user types, the values typed before into the entry
// `field` names ("EQHeader/EQH:Make"), while the suite remembers typed values.
void offer(QLineEdit *line, const QString &field);

} // namespace qaveq::TypedValues
