#pragma once

#include <QString>

namespace qaveq {

class Clock;

namespace data {
class Company;
}

// Fills an empty company with a demonstration of the module at work: G/L
// chart and fiscal periods, jobs with cost codes and change orders, employees,
// cost categories, about 25 pieces of equipment, 18 months of usage logs
// posted a month at a time by the suite's posting run (which writes the posted
// logs, the equipment and category totals, the prior-period files and their
// G/L lines), the vendor bills of the cost categories posted through the
// suite's journal posting, the suite's period close between the months, and
// every equipment's depreciation schedule. The company is planned as tables
// (DemoPlan.h). The data ends in the month before today, and the same day
// gives the same company.
class DemoCompany
{
public:
    struct Summary
    {
        int equipment = 0;
        int categories = 0;
        int postedLogs = 0;
        int transactions = 0;
        int scheduleRows = 0;       // depreciation rows of every equipment's schedule
        int depreciationPosted = 0; // of those, posted to the G/L (by whoever posts them)
    };

    DemoCompany(data::Company &company, const Clock &clock);

    // Writes everything in one transaction. Throws data::DataError.
    Summary build();

private:
    data::Company &m_company;
    const Clock &m_clock;
};

} // namespace qaveq
