#pragma once

#include "core/Decimal.h"

#include <QString>

#include <variant>

namespace qaveq::data {

// One field's value as the generic code sees it: integers (also day numbers
// and times of day), decimals and texts.
using FieldValue = std::variant<qint64, Decimal, QString>;

} // namespace qaveq::data
