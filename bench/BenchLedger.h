#pragma once

#include "output/OutputDevices.h"

#include "data/Company.h"

#include "core/SuiteDate.h"

#include <QTemporaryDir>

#include <memory>

struct sqlite3;

// A company for the ledger benchmarks, written straight through SQLite so
// that building it takes seconds: equipment with cost categories and ledger
// lines spread evenly over the equipment's income and categories.
namespace qaveq::bench {

// The ledger lines' dates run from this day over 700 days.
constexpr DayNumber FirstLineDate = 82000;

struct LedgerSize
{
    int equipment = 1000;
    int categories = 2;
    int lines = 1'000'000;
};

class Ledger
{
public:
    explicit Ledger(LedgerSize size);

    data::Company &company() { return *m_company; }
    // A connection of the benchmark's own to the company's database (openSqlite()).
    sqlite3 *open() const;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<data::Company> m_company;
};

// The process's one ledger, built on first use with `size`.
Ledger &sharedLedger(LedgerSize size);

// Where a finished report would go: nowhere; only its pages are counted.
class CountingDevices final : public OutputDevices
{
public:
    int pages = 0;
    bool preview(const report::PageList &list, Preview &) override;
    bool print(const report::PageList &list, const report::PrintJob &, bool) override;
    bool hasDefaultPrinter() override { return true; }
    std::optional<QString> choosePdfFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &,
                                             const report::PageList &) override
    {
        return report::PdfGenerator::Result::NothingToDo;
    }
    void open(const QString &) override {}
    bool sendMail(const report::MailMessage &, QString *) override { return false; }
    bool exportLines(const QStringList &) override { return false; }
};

} // namespace qaveq::bench
