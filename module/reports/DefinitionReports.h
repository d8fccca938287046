#pragma once

#include "core/SuiteDate.h"

#include <QString>

#include <memory>

namespace qaveq {

class Prompter;
class ReportPass;
struct EQLimits;

namespace data {
class Session;
}

// The report a definition prints through, by the procedure its family's
// dispatch chose ("PRINTEQANALYSIS"); null for a report not built.
std::unique_ptr<ReportPass> definitionReport(const QString &procedure, data::Session &session,
                                             Prompter &prompter, const EQLimits &definition,
                                             DayNumber today);

} // namespace qaveq
