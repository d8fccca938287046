#pragma once

#include "data/FileError.h"
#include "data/Record.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Decimal.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace qaveq::data {
class Company;
class Session;
} // namespace qaveq::data

namespace qaveq::suite {

// What the suite's posting runs share. The runs belong to the suite: they
// reach the equipment module's files through the company's catalogue, by
// field name.

// Thrown inside a run to leave it; the run's transaction then rolls back.
struct Refusal
{
    QString text;
};

// A failed write or read ends the run with the file's error and what the run was doing.
void check(const data::FileStatus &status, const QString &doing);

QString textOf(const data::Record &record, QStringView field);
Decimal amountOf(const data::Record &record, QStringView field);
qint64 numberOf(const data::Record &record, QStringView field);
void addTo(data::Record &record, QStringView field, const Decimal &by);

// The company's fiscal periods in order.
class FiscalCalendar
{
public:
    explicit FiscalCalendar(data::Company &company);

    // The period that holds the date, or nullptr.
    const GLFiscal *holding(DayNumber date) const;
    // The period with the running number, or nullptr.
    const GLFiscal *numbered(qint32 fiscalPeriod) const;
    // The period after the given one, or nullptr when it is the last.
    const GLFiscal *after(const GLFiscal &period) const;

private:
    std::vector<GLFiscal> m_periods;
};

// The records a run moves (an equipment, a cost category, a prior-period
// total), read (or, when `create`, inserted) the first time the run moves
// them and written back once by writeBack(), however often the run moves them.
class MovedRecords
{
public:
    explicit MovedRecords(data::Company &company);

    data::Record *record(const QString &file, QStringView key,
                         const QList<std::pair<QString, data::FieldValue>> &fields, bool create);

    // Charges the cost category of an equipment: its cumulative, year and
    // month totals and its prior-period totals of the period move by the
    // units and amount. Returns the category's record, or nullptr (nothing
    // moved) when the equipment does not have that category.
    data::Record *chargeCategory(const QString &equipment, const QString &category,
                                 const GLFiscal &period, const Decimal &units,
                                 const Decimal &amount);

    void writeBack();

private:
    data::Company &m_company;
    std::map<std::pair<QString, QList<data::FieldValue>>, std::unique_ptr<data::Record>> m_moved;
};

// Runs `work` on the session's company in one transaction over `tables`:
// kept when it returns, rolled back when it refuses or fails. Returns why
// nothing was written, or an empty text when all of it was. `run` names the
// run in the error of a failed commit ("Posting").
QString runInTransaction(data::Session &session, const QString &run, const QStringList &tables,
                         std::chrono::milliseconds wait,
                         const std::function<void(data::Company &)> &work);

// The key of an equipment's cost category: the equipment ID in ten places, then the category.
QString costRecordId(const QString &equipment, const QString &category);

} // namespace qaveq::suite
