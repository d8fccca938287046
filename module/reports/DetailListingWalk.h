#pragma once

#include "ReportSelection.h"

#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "data/KeyCursor.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Decimal.h"

#include <QHash>

#include <optional>

namespace qaveq {

namespace data {
class Company;
}

namespace DetailListing {

// One part of an equipment's listing: its internal income (".I"), its
// rental income (".R") or one of its cost categories.
struct Section
{
    QString code;
    QString description;
    bool income = false;
    QString unit;
};

// One ledger transaction as the listing shows it. Amounts carry the sign the
// section gives them: a cost debit and an income credit are positive.
struct Line
{
    QString equipmentId;
    QString sectionCode;
    QString sectionDescription;
    qint32 recordId = 0;
    DayNumber date = 0;
    qint32 fiscalPeriod = 0;
    QString journalCode;
    qint32 journalNo = 0;
    QString journalId; // 15: "A/P 1234-2"
    QString description;
    QString jobLine; // job + " - " + cost code; empty without a job
    Decimal quantity;
    QString unit;
    Decimal amount;
    QString note; // the transaction's note, when notes are asked for
};

// "A/P 1234-2": the journal code, the journal number and the line number.
QString journalIdText(const GLTrans &transaction);

// The section line of the parameter lines, by the sections included; empty
// when none is.
QString sectionsLine(const EQLimits &definition);
// The listing's parameter lines: title, sections, then the shared selection
// with the listing's journal, fiscal-period and job limits.
QStringList limitsLines(data::Company &company, const ReportSelection &selection);

// Builds the transaction description from the ledger line and the suite's
// vendors, invoices, customers, billings and employees. A linked record not
// on file leaves its part out. Names are kept for the run: the same vendor
// or employee recurs on thousands of lines. Of invoices and billings only
// the last is kept: there are as many as ledger lines, but the lines of one
// document come together.
class DescriptionBuilder
{
public:
    explicit DescriptionBuilder(data::Company &company);
    QString describe(const GLTrans &transaction);

private:
    // The last invoice or billing read, and its number.
    struct Document
    {
        qint32 id = 0;
        std::optional<QString> number;
    };

    std::optional<QString> vendorName(const QString &id);
    std::optional<QString> customerName(const QString &id);
    std::optional<std::pair<QString, QString>> employeeName(qint32 id); // last, first
    const std::optional<QString> &invoiceNumber(qint32 id);
    const std::optional<QString> &billingNumber(qint32 id);

    data::Company &m_company;
    QHash<QString, std::optional<QString>> m_vendors;
    QHash<QString, std::optional<QString>> m_customers;
    QHash<qint32, std::optional<std::pair<QString, QString>>> m_employees;
    Document m_invoice;
    Document m_billing;
};

// What the walk hands on, in order. Each call returns false to stop the walk
// (a page that could not be stored).
class Sink
{
public:
    virtual ~Sink() = default;
    virtual bool heading(const EQHeader &equipment) = 0;
    virtual bool line(const Section &section, const Line &line) = 0;
    virtual bool sectionTotal(const Section &section, const Decimal &total) = 0;
    virtual bool equipmentTotals(const EQHeader &equipment, const Decimal &income,
                                 const Decimal &cost, const Decimal &net) = 0;
};

// Walks the selected equipment and, for each, the ledger transactions of its
// sections by subsidiary code, keeping those within the definition's limits;
// a slice at a time so that a window stays responsive.
class Walk
{
public:
    Walk(data::Company &company, const EQLimits &definition, DayNumber today);

    const ReportSelection &selection() const { return m_selection; }
    // Selects the equipment; false when none is selected.
    bool start();
    // Reads up to `transactions` ledger lines; false once the walk is over.
    bool next(Sink &sink, int transactions);
    bool skipsEmpty() const { return m_definition.SkipEquipment == 1; }

    int percent() const;
    qint64 transactionsRead() const { return m_read; }

private:
    enum class State { NextEquipment, NextSection, Reading, Over };

    bool qualifies(const GLTrans &transaction) const;
    bool beginEquipment(Sink &sink);
    bool endSection(Sink &sink);
    bool endEquipment(Sink &sink);
    Line lineOf(const GLTrans &transaction) const;
    QString noteOf(qint32 recordId);

    data::Company &m_company;
    EQLimits m_definition;
    ReportSelection m_selection;
    std::optional<DateRange> m_dates;
    qint32 m_periodFrom = 0;
    qint32 m_periodTo = 0;
    DescriptionBuilder m_descriptions;

    QList<SelectedEquipment> m_equipment;
    qsizetype m_index = -1;
    State m_state = State::NextEquipment;
    EQHeader m_current;
    QList<Section> m_sections;
    qsizetype m_section = -1;
    std::optional<data::KeyCursor> m_cursor;
    bool m_headingGiven = false;
    bool m_equipmentHasDetail = false;
    bool m_sectionHasDetail = false;
    Decimal m_sectionTotal, m_income, m_cost, m_net;
    qint64 m_read = 0;
};

// What the on-screen view shows: the equipment the walk reached and the
// transactions of each.
struct ViewedEquipment
{
    QString id, description, vin, license;
    QList<Line> lines;
};

class Collector final : public Sink
{
public:
    QList<ViewedEquipment> equipment;

    bool heading(const EQHeader &equipment) override;
    bool line(const Section &section, const Line &line) override;
    bool sectionTotal(const Section &, const Decimal &) override { return true; }
    bool equipmentTotals(const EQHeader &, const Decimal &, const Decimal &,
                         const Decimal &) override
    {
        return true;
    }
};

} // namespace DetailListing

} // namespace qaveq
