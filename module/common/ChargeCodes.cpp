#include "ChargeCodes.h"

#include "suite/Services.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::ChargeCodes {

namespace {

QString withTypeLetter(const QString &code)
{
    const std::optional<QChar> letter = costTypeFor(code.back());
    return letter ? code.chopped(1) + *letter : code;
}

std::optional<Message> note(const QString &caption, const QString &text)
{
    if (Text::clip(text).isEmpty())
        return std::nullopt;
    return Message{caption, Text::clip(text), u"&OK"_s, 1, Message::Icon::Bell};
}

} // namespace

std::optional<QChar> costTypeFor(QChar shorthand)
{
    switch (shorthand.unicode()) {
    case u'1':
        return u'L';
    case u'2':
        return u'M';
    case u'3':
        return u'S';
    case u'.':
        return u'E';
    case u'6':
        return u'G';
    case u'9':
        return u'B';
    default:
        return std::nullopt;
    }
}

QString fillCostCode(const QString &typed, int costCodeLength)
{
    const QString code = Text::clip(typed);
    if (code.isEmpty())
        return code;
    if (code.size() < costCodeLength)
        return code.leftJustified(costCodeLength, u'0');
    return code.size() == costCodeLength + 1 ? withTypeLetter(code) : code;
}

QString expandCostCode(const QString &typed, int costCodeLength)
{
    const QString code = Text::clip(typed);
    if (code.isEmpty())
        return code;
    if (code.size() == costCodeLength)
        return code + u'E';
    return code.size() == costCodeLength + 1 ? withTypeLetter(code) : code;
}

QString fillJobId(const QString &typed, int jobIdLength)
{
    const QString id = Text::clip(typed);
    return id.isEmpty() ? id : id.leftJustified(jobIdLength, u'0');
}

std::optional<QString> resolveJob(data::Company &company, const QString &typed, int jobIdLength,
                                  const std::function<std::optional<QString>()> &choose)
{
    if (job(company, typed).state != State::NotFound)
        return fillJobId(typed, jobIdLength);
    const QList<JCHeader> matches = suite::FILLJOBSEARCHQ(typed);
    if (matches.isEmpty())
        return fillJobId(typed, jobIdLength);
    if (matches.size() == 1)
        return Text::clip(matches.first().JobID);
    const std::optional<QString> chosen = choose();
    if (!chosen)
        return std::nullopt;
    return chosen->left(JCHeader::fileSchema().field(u"JobID")->width).trimmed();
}

std::optional<ControlAccount> controlAccount(const Systems &settings, const QString &account)
{
    const QString payables = u"Accounts Payable Ledger"_s;
    const QString receivables = u"Accounts Receivable Ledger"_s;
    const QString jobs = u"Job Cost Ledger"_s;
    const struct
    {
        const QString &account;
        QString name;
        const QString &ledger;
    } controls[] = {
        {settings.APControlAccount, u"Accounts Payable"_s, payables},
        {settings.SubcontractsPayableAccount, u"Subcontracts Payable"_s, payables},
        {settings.RetentionPayableAccount, u"Retention Payable"_s, payables},
        {settings.ARControlAccount, u"Accounts Receivable"_s, receivables},
        {settings.RetentionReceivableAccount, u"Retention Receivable"_s, receivables},
        {settings.LaborCostsAccount, u"Labor Costs on Open Jobs"_s, jobs},
        {settings.MaterialCostsAccount, u"Material Costs on Open Jobs"_s, jobs},
        {settings.SubcontractCostsAccount, u"Subcontract Costs on Open Jobs"_s, jobs},
        {settings.EquipmentCostsAccount, u"Equipment Costs on Open Jobs"_s, jobs},
        {settings.GeneralCostsAccount, u"General Costs on Open Jobs"_s, jobs},
        {settings.BurdenCostsAccount, u"Burden Costs on Open Jobs"_s, jobs},
        {settings.JobIncomeAccount, u"Job Income on Open Jobs"_s, jobs},
    };
    const QString wanted = Text::clip(account);
    if (wanted.isEmpty())
        return std::nullopt;
    for (const auto &control : controls)
        if (Text::clip(control.account) == wanted)
            return ControlAccount{control.name, control.ledger};
    return std::nullopt;
}

Job job(data::Company &company, const QString &jobId)
{
    Job found;
    found.record.JobID = Text::clip(jobId);
    if (!company.file<JCHeader>().fetch(u"KeyJobID", found.record))
        return found;
    found.state = found.record.Closed    ? State::Closed
                  : !found.record.Active ? State::Inactive
                                         : State::Open;
    return found;
}

void fillCostCodeKey(JCCost &wanted, const QString &jobId, int costCodeLength)
{
    wanted.JobID = Text::clip(jobId);
    wanted.CostType = Text::clip(wanted.CostCode).mid(costCodeLength, 1);
}

CostCode costCode(data::Company &company, const QString &jobId, const QString &code,
                  int costCodeLength)
{
    CostCode found;
    const QString clipped = Text::clip(code);
    found.record.CostCode = clipped;
    fillCostCodeKey(found.record, jobId, costCodeLength);
    if (!company.file<JCCost>().fetch(u"KeyJobCodeType", found.record))
        return found;
    found.state = found.record.Inactive ? State::Inactive : State::Open;
    return found;
}

std::optional<Message> noteOf(const JCHeader &job)
{
    return note(u"Important Job Note"_s, job.ImportantNote);
}

std::optional<Message> noteOf(const JCCost &code)
{
    return note(u"Important Cost Code Note"_s, code.ImportantNote);
}

} // namespace qaveq::ChargeCodes
