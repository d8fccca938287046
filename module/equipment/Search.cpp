#include "Search.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "data/Company.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::Search {

QString caption(Mode mode)
{
    switch (mode) {
    case Mode::Equipment:
        return u"Search the Equipment File"_s;
    case Mode::EQCode:
        return u"Search the Equipment Cost File"_s;
    case Mode::Code:
        return u"Search the Cost Category File"_s;
    }
    return {};
}

QString idHeader(Mode mode)
{
    return mode == Mode::Equipment ? u"Equipment ID"_s : u"Category ID"_s;
}

QList<Candidate> candidates(data::Company &company, Mode mode, const QString &equipmentId)
{
    QList<Candidate> list;
    switch (mode) {
    case Mode::Equipment: {
        data::KeyCursor cursor = company.file<EQHeader>().scan(u"KeyEquipmentID");
        EQHeader piece;
        while (cursor.next(piece))
            list.append({Text::clip(piece.EquipmentID), Text::clip(piece.Description)});
        break;
    }
    case Mode::Code: {
        data::KeyCursor cursor = company.file<EQCode>().scan(u"KeyCategoryID");
        EQCode category;
        while (cursor.next(category))
            list.append({Text::clip(category.CategoryID), Text::clip(category.Description)});
        break;
    }
    case Mode::EQCode: {
        data::ScanOptions options;
        options.filters = {
            data::Filter{u"EQC:EquipmentID"_s, data::Filter::Op::Equal, Text::clip(equipmentId)}};
        data::KeyCursor cursor = company.file<EQCost>().scan(u"KeyEquipmentID", options);
        EQCost cost;
        while (cursor.next(cost)) {
            if (Text::clip(cost.CostCategory).isEmpty())
                continue;
            EQCode category;
            category.CategoryID = cost.CostCategory;
            const bool known = company.file<EQCode>().fetch(u"KeyCategoryID", category).isOk();
            list.append({Text::clip(cost.CostCategory),
                         known ? Text::clip(category.Description) : u"Code Not In Dictionary"_s});
        }
        break;
    }
    }
    return list;
}

QList<Candidate> matching(const QList<Candidate> &all, const QString &text)
{
    const QString wanted = Text::clip(text).toUpper();
    if (wanted.isEmpty())
        return all;
    QList<Candidate> shown;
    for (const Candidate &candidate : all)
        if (candidate.id.toUpper().contains(wanted) ||
            candidate.description.toUpper().contains(wanted))
            shown.append(candidate);
    return shown;
}

} // namespace qaveq::Search
