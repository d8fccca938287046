#pragma once

namespace qaveq::demo {

class DemoRun;

// The demonstration company's files before its history: settings and users,
// the G/L chart and fiscal periods, jobs with cost codes and change orders,
// vendors, customers and employees, the cost categories, and the fleet with
// its cost categories and depreciation schedules.
void writeMasterFiles(DemoRun &run);

} // namespace qaveq::demo
