#include "DetailListingWalk.h"

#include "LimitsLines.h"

#include "records/EQCode.h"
#include "records/Notes.h"

#include "data/Company.h"
#include "data/suite/AccountsFiles.h"
#include "data/suite/PayrollFiles.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace DetailListing {

namespace {

const QString InternalCode = u".I"_s;
const QString RentalCode = u".R"_s;
// What the listing reads of a ledger line: a run over a million lines reads
// no more than it shows.
const QStringList TransactionFields{u"RecordID"_s,    u"JournalID"_s,    u"JournalNo"_s,
                                    u"LineNo"_s,      u"FiscalPeriod"_s, u"TransDate"_s,
                                    u"CreditDebit"_s, u"Amount"_s,       u"SubsidiaryQuantity"_s,
                                    u"JobID"_s,       u"CostCode"_s,     u"Description"_s,
                                    u"APInvoiceID"_s, u"ARInvoiceID"_s,  u"VendorID"_s,
                                    u"EmployeeID"_s,  u"CustomerID"_s};

// The period limits of a definition: an open end (0) reaches every period.
qint32 periodBound(const Decimal &value, qint32 open)
{
    const qint32 period = static_cast<qint32>(value.unitsAt(0));
    return period == 0 ? open : period;
}

QString number(qint64 value)
{
    return QString::number(value);
}

// Appends the digits of a whole number without a string of their own.
void appendNumber(QString &text, qint64 value)
{
    char16_t digits[24];
    char16_t *const end = std::end(digits);
    char16_t *at = end;
    auto magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--at = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0)
        *--at = u'-';
    text.append(QStringView(at, end));
}

// The number of a payables invoice or receivables billing: blank when it has
// none; no value when it is not on file.
template <typename Document>
std::optional<QString> documentNumber(data::Company &company, qint32 id, qint32 Document::*idField,
                                      QString Document::*numberField, QStringView key)
{
    Document document;
    document.*idField = id;
    if (!company.file<Document>().fetch(key, document))
        return std::nullopt;
    return Text::clip(document.*numberField);
}

} // namespace

QString journalIdText(const GLTrans &transaction)
{
    // Built in one string: every line of the listing has one.
    QString text = Text::clip(transaction.JournalID);
    text.reserve(text.size() + 24);
    text += u' ';
    appendNumber(text, transaction.JournalNo);
    text += u'-';
    appendNumber(text, transaction.LineNo);
    return Text::cut(text, 15);
}

QString sectionsLine(const EQLimits &d)
{
    const bool categories = d.ColorCoding == 1;
    const bool internal = d.SelectedRef == 1;
    const bool rental = !d.RefFrom.isZero();
    if (categories && internal && rental)
        return u"Includes Cost Categories, Internal Income (.I) and Rental Income (.R)"_s;
    if (categories && internal)
        return u"Includes Cost Categories and Internal Income (.I)"_s;
    if (categories && rental)
        return u"Includes Cost Categories and Rental Income (.R)"_s;
    if (categories)
        return u"Includes Cost Categories Only"_s;
    if (internal && rental)
        return u"Includes Internal Income (.I) and Rental Income (.R)"_s;
    if (internal)
        return u"Includes Internal Income (.I) Only"_s;
    if (rental)
        return u"Includes Rental Income (.R) Only"_s;
    return {};
}

QStringList limitsLines(data::Company &company, const ReportSelection &selection)
{
    const EQLimits &d = selection.definition();
    QStringList lines{LimitsLines::title(d.ReportTitle), sectionsLine(d),
                      LimitsLines::codeLine(LimitsLines::Equipment, d.SelectedEquipment,
                                            d.EquipmentFrom, d.EquipmentTo,
                                            selection.members(ListKind::Equipment))};
    if (d.ColorCoding == 1)
        lines.append(LimitsLines::codeLine(LimitsLines::Categories, d.SelectedCategory,
                                           d.CategoryFrom, d.CategoryTo,
                                           selection.members(ListKind::Category)));
    lines.append(LimitsLines::inactive(d.IncludeInactive == 1));
    lines.append(LimitsLines::classes(d.SelectedClass == 1, d.ClassFrom, d.ClassTo));
    lines.append(LimitsLines::dates(company, selection));
    if (d.SelectedJournals == 1) {
        const QString type = Text::clip(d.JournalType);
        lines.append((type.isEmpty() ? u"Journals"_s : u"Journal "_s + type) + u" from "_s +
                     number(d.JournalFrom) + u" to "_s + number(d.JournalTo));
    }
    if (d.SelectedFP == 1) {
        const qint32 from = periodBound(d.FPFrom, 1);
        const qint32 to = periodBound(d.FPTo, 9999);
        lines.append(from == to ? u"Fiscal Period ("_s + number(from) + u')'
                                : u"Fiscal Periods from ("_s + number(from) + u") to ("_s +
                                      number(to) + u')');
    }
    lines.append(LimitsLines::codeLine(LimitsLines::Jobs, d.SelectedJobs, d.JobFrom, d.JobTo,
                                       selection.members(ListKind::Job)));
    lines.append(LimitsLines::userDefined(company, selection));
    lines.removeAll(QString());
    return lines;
}

DescriptionBuilder::DescriptionBuilder(data::Company &company)
    : m_company(company)
{}

namespace {

// The clipped name of the record whose `idField` is `id`, read once per run.
template <class R>
std::optional<QString> cachedName(data::Company &company,
                                  QHash<QString, std::optional<QString>> &cache, const QString &key,
                                  QString R::*idField, const QString &id)
{
    if (const auto known = cache.constFind(id); known != cache.constEnd())
        return *known;
    R record;
    record.*idField = id;
    std::optional<QString> name;
    if (company.file<R>().fetch(key, record))
        name = Text::clip(record.Name);
    cache.insert(id, name);
    return name;
}

} // namespace

std::optional<QString> DescriptionBuilder::vendorName(const QString &id)
{
    return cachedName(m_company, m_vendors, u"KeyVendorID"_s, &APVendor::VendorID, id);
}

std::optional<QString> DescriptionBuilder::customerName(const QString &id)
{
    return cachedName(m_company, m_customers, u"KeyCustomerID"_s, &ARCustomer::CustomerID, id);
}

std::optional<std::pair<QString, QString>> DescriptionBuilder::employeeName(qint32 id)
{
    if (const auto known = m_employees.constFind(id); known != m_employees.constEnd())
        return *known;
    PREmp employee;
    employee.EmployeeID = id;
    std::optional<std::pair<QString, QString>> name;
    if (m_company.file<PREmp>().fetch(u"KeyEmployeeID", employee))
        name = std::pair{Text::clip(employee.LastName), Text::clip(employee.FirstName)};
    m_employees.insert(id, name);
    return name;
}

const std::optional<QString> &DescriptionBuilder::invoiceNumber(qint32 id)
{
    if (m_invoice.id != id)
        m_invoice = {id, documentNumber(m_company, id, &APInvoice::InvoiceID,
                                        &APInvoice::InvoiceNumber, u"KeyInvoiceID")};
    return m_invoice.number;
}

const std::optional<QString> &DescriptionBuilder::billingNumber(qint32 id)
{
    if (m_billing.id != id)
        m_billing = {id, documentNumber(m_company, id, &ARBilling::BillingID,
                                        &ARBilling::BillingNumber, u"KeyBillingID")};
    return m_billing.number;
}

QString DescriptionBuilder::describe(const GLTrans &t)
{
    const QString journal = Text::clip(t.JournalID);
    QString built;
    // The party of the line, then the document it came with.
    const auto party = [&built](const QString &id, const std::optional<QString> &name) {
        if (name)
            built = u'(' + id + u") "_s + name->left(13);
    };
    if (journal == u"A/P") {
        const QString vendor = Text::clip(t.VendorID);
        if (!vendor.isEmpty())
            party(vendor, vendorName(vendor));
        if (t.APInvoiceID != 0) {
            if (const std::optional<QString> &numbered = invoiceNumber(t.APInvoiceID))
                built += numbered->isEmpty() ? u" (Unnumbered Invoice)"_s
                                             : u" (Inv#"_s + *numbered + u')';
        }
    } else if (journal == u"A/R" || journal == u"S/J" || journal == u"C/R") {
        const QString customer = Text::clip(t.CustomerID);
        if (!customer.isEmpty())
            party(customer, customerName(customer));
        if (t.ARInvoiceID != 0) {
            if (const std::optional<QString> &numbered = billingNumber(t.ARInvoiceID))
                built += numbered->isEmpty() ? u" (Unnumbered Billing)"_s
                                             : u" (Bill#"_s + *numbered + u')';
        }
    } else if (journal == u"P/R" && t.EmployeeID != 0) {
        // A blank, not a tab, before the initial: the description is one
        // field of the tab-separated export.
        if (const auto name = employeeName(t.EmployeeID))
            built =
                u'(' + number(t.EmployeeID) + u") "_s + name->first + u' ' + name->second.left(1);
    }
    built = built.trimmed();
    const QString own = Text::clip(t.Description);
    if (!own.isEmpty())
        built = built.isEmpty() ? own : built + u" - "_s + own;
    return Text::cut(built, 70);
}

Walk::Walk(data::Company &company, const EQLimits &definition, DayNumber today)
    : m_company(company)
    , m_definition(definition)
    , m_selection(company, definition, today)
    , m_dates(m_selection.dateRange())
    , m_periodFrom(periodBound(definition.FPFrom, 1))
    , m_periodTo(periodBound(definition.FPTo, 9999))
    , m_descriptions(company)
{}

bool Walk::start()
{
    m_equipment = m_selection.equipment();
    m_index = -1;
    m_read = 0;
    m_state = m_equipment.isEmpty() ? State::Over : State::NextEquipment;
    return !m_equipment.isEmpty();
}

int Walk::percent() const
{
    if (m_equipment.isEmpty() || m_state == State::Over)
        return 100;
    return int(std::max<qsizetype>(0, m_index) * 100 / m_equipment.size());
}

bool Walk::qualifies(const GLTrans &t) const
{
    const EQLimits &d = m_definition;
    if (d.SelectedJournals == 1) {
        const QString type = Text::clip(d.JournalType);
        if (!type.isEmpty() && type != Text::clip(t.JournalID))
            return false;
        if (t.JournalNo < d.JournalFrom || t.JournalNo > d.JournalTo)
            return false;
    }
    if (m_dates && (t.TransDate < m_dates->from || t.TransDate > m_dates->to))
        return false;
    if (d.SelectedFP == 1 && (t.FiscalPeriod < m_periodFrom || t.FiscalPeriod > m_periodTo))
        return false;
    return d.SelectedJobs == 0 || m_selection.jobPasses(t.JobID);
}

bool Walk::beginEquipment(Sink &sink)
{
    m_current = EQHeader();
    m_current.EquipmentID = m_equipment.at(m_index).id;
    if (!m_company.file<EQHeader>().fetch(u"KeyEquipmentID", m_current))
        return true; // removed since it was selected: nothing to list
    m_sections.clear();
    const QString billing = Text::clip(m_current.BillingUnit);
    if (m_definition.SelectedRef == 1)
        m_sections.append({InternalCode, u"Internal (Charged) Income"_s, true, billing});
    if (!m_definition.RefFrom.isZero())
        m_sections.append({RentalCode, u"Rental Income"_s, true, billing});
    if (m_definition.ColorCoding == 1) {
        data::KeyCursor costs = m_company.file<EQCost>().scan(
            u"KeyEquipmentID", data::ScanOptions::equal({m_current.EquipmentID}));
        for (EQCost cost; costs.next(cost);) {
            const QString category = Text::clip(cost.CostCategory);
            if (!m_selection.categoryPasses(category))
                continue;
            EQCode code;
            code.CategoryID = category;
            const bool known = bool(m_company.file<EQCode>().fetch(u"KeyCategoryID", code));
            m_sections.append({category,
                               known ? Text::clip(code.Description) : u"Code Not In Dictionary"_s,
                               false, Text::clip(cost.UnitName)});
        }
    }
    m_section = -1;
    m_headingGiven = false;
    m_equipmentHasDetail = false;
    m_income = m_cost = m_net = Decimal();
    m_state = State::NextSection;
    if (!skipsEmpty()) {
        m_headingGiven = true;
        return sink.heading(m_current);
    }
    return true;
}

bool Walk::endSection(Sink &sink)
{
    m_cursor.reset();
    m_state = State::NextSection;
    if (skipsEmpty() && !m_sectionHasDetail)
        return true;
    return sink.sectionTotal(m_sections.at(m_section), m_sectionTotal);
}

bool Walk::endEquipment(Sink &sink)
{
    m_state = State::NextEquipment;
    if (skipsEmpty() && !m_equipmentHasDetail)
        return true;
    return sink.equipmentTotals(m_current, m_income, m_cost, m_net);
}

QString Walk::noteOf(qint32 recordId)
{
    data::ScanOptions options = data::ScanOptions::equal({number(recordId)});
    options.filters.append({u"NOTE:EntityType"_s, data::Filter::Op::Equal, u"GLTrans"_s});
    data::KeyCursor notes = m_company.file<Notes>().scan(u"KeyEntityID", options);
    Notes note;
    return notes.next(note) ? Text::clip(note.Note) : QString();
}

Line Walk::lineOf(const GLTrans &t) const
{
    const Section &section = m_sections.at(m_section);
    const bool credit = t.CreditDebit == u"C";
    // A cost shows its debits positive, an income its credits.
    const bool positive = section.income ? credit : !credit;
    Line line;
    line.equipmentId = Text::clip(m_current.EquipmentID);
    line.sectionCode = section.code;
    line.sectionDescription = section.description;
    line.recordId = t.RecordID;
    line.date = t.TransDate;
    line.fiscalPeriod = t.FiscalPeriod;
    line.journalCode = Text::clip(t.JournalID);
    line.journalNo = t.JournalNo;
    line.journalId = journalIdText(t);
    if (const QString job = Text::clip(t.JobID); !job.isEmpty())
        line.jobLine = job + u" - "_s + Text::clip(t.CostCode);
    line.quantity = positive ? t.SubsidiaryQuantity : -t.SubsidiaryQuantity;
    line.unit = section.unit;
    line.amount = positive ? t.Amount : -t.Amount;
    return line;
}

bool Walk::next(Sink &sink, int transactions)
{
    int read = 0;
    while (m_state != State::Over) {
        switch (m_state) {
        case State::NextEquipment:
            if (++m_index >= m_equipment.size()) {
                m_state = State::Over;
                return false;
            }
            if (!beginEquipment(sink))
                return false;
            break;
        case State::NextSection: {
            if (++m_section >= m_sections.size()) {
                if (!endEquipment(sink))
                    return false;
                break;
            }
            // The subsidiary code is the equipment ID in 10 characters and
            // the section's code.
            const QString code =
                Text::clip(m_current.EquipmentID).leftJustified(10) + m_sections.at(m_section).code;
            data::ScanOptions options = data::ScanOptions::equal({code});
            options.fields = TransactionFields;
            // A section's lines in one read as a rule: an equipment's
            // category holds hundreds of them.
            options.pageSize = 1024;
            m_cursor.emplace(m_company.file<GLTrans>().scan(u"KeySubsidiaryCode", options));
            m_sectionTotal = Decimal();
            m_sectionHasDetail = false;
            m_state = State::Reading;
            break;
        }
        case State::Reading: {
            if (read >= transactions)
                return true;
            GLTrans t;
            if (!m_cursor->next(t)) {
                if (!endSection(sink))
                    return false;
                break;
            }
            ++read;
            ++m_read;
            if (!qualifies(t))
                break;
            if (!m_headingGiven) {
                m_headingGiven = true;
                if (!sink.heading(m_current))
                    return false;
            }
            m_sectionHasDetail = m_equipmentHasDetail = true;
            Line line = lineOf(t);
            line.description = m_descriptions.describe(t);
            if (m_definition.PrintTransactionDetail == 1 && m_definition.ReportFormat == u"1")
                line.note = noteOf(t.RecordID);
            const Section &section = m_sections.at(m_section);
            m_sectionTotal += line.amount;
            (section.income ? m_income : m_cost) += line.amount;
            m_net += t.CreditDebit == u"C" ? t.Amount : -t.Amount;
            if (!sink.line(section, line))
                return false;
            break;
        }
        case State::Over:
            break;
        }
    }
    return false;
}

bool Collector::heading(const EQHeader &piece)
{
    equipment.append({Text::clip(piece.EquipmentID),
                      Text::clip(piece.Description),
                      Text::clip(piece.VIN),
                      Text::clip(piece.VehicleLicense),
                      {}});
    return true;
}

bool Collector::line(const Section &, const Line &line)
{
    if (!equipment.isEmpty())
        equipment.last().lines.append(line);
    return true;
}

} // namespace DetailListing

} // namespace qaveq
