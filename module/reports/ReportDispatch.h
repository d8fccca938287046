#pragma once

#include <QString>

namespace qaveq {

struct EQLimits;

// Which report procedure a "server" procedure runs for the current report
// definition; empty when its code names none. Codes are single upper-case
// letters.
namespace ReportDispatch {

QString analysis(const EQLimits &definition);     // by EQLM:ReportType
QString listing(const EQLimits &definition);      // by EQLM:ReportFormat
QString categoryList(const EQLimits &definition); // by EQLM:DetailSummary

} // namespace ReportDispatch

} // namespace qaveq
