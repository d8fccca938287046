#include "ChargeCodes.h"

#include "data/Company.h"

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

CostCode costCode(data::Company &company, const QString &jobId, const QString &code,
                  int costCodeLength)
{
    CostCode found;
    const QString clipped = Text::clip(code);
    found.record.JobID = Text::clip(jobId);
    found.record.CostCode = clipped;
    found.record.CostType = clipped.mid(costCodeLength, 1);
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
