#include "EquipmentRules.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/PriorPeriods.h"

#include "data/Company.h"

#include "core/Picture.h"
#include "core/Text.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentRules {

QString sortText(const QString &equipmentId)
{
    const QString id = Text::clip(equipmentId);
    bool numeric = !id.isEmpty();
    for (const QChar c : id)
        numeric = numeric && c.isDigit() && c.unicode() < 128;
    return numeric && id.size() <= 10 ? id.rightJustified(10, u'0') : id;
}

QString attachmentType(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1, 10).toUpper();
    const QString start = extension.left(2);
    if (start == u"PD")
        return u"PDF"_s;
    if (start == u"TI" || start == u"BM" || start == u"JP" || start == u"GI")
        return u"Bitmap"_s;
    if (start == u"DO")
        return u"DOC"_s;
    if (start == u"PP")
        return u"PPT"_s;
    if (start == u"TX")
        return u"TXT"_s;
    if (start == u"XL")
        return u"XL"_s;
    if (start == u"HT")
        return u"WebPage"_s;
    return u"Other"_s;
}

QString attachmentPicture(const QString &type)
{
    static const QHash<QString, QString> pictures{
        {u"PDF"_s, u"~pdf.gif"_s},   {u"DOC"_s, u"~worddoc.gif"_s},  {u"XL"_s, u"~xldoc.gif"_s},
        {u"PPT"_s, u"~ppdoc.gif"_s}, {u"TXT"_s, u"~textfile.gif"_s}, {u"WebPage"_s, u"~web.gif"_s},
        {u"Bitmap"_s, QString()},
    };
    return pictures.value(Text::clip(type), u"~OtherFile.gif"_s);
}

QString scheduleInWords(const EQCost &cost)
{
    const QString meter = QString::number(cost.Meter) + u' ' + Text::clip(cost.MeterName);
    const QString time = QString::number(cost.Interval) + u' ' + Text::clip(cost.IntervalName);
    const QString type = Text::clip(cost.ScheduleType);
    if (type == u"M")
        return u"Every "_s + meter;
    if (type == u"E")
        return u"Every "_s + time;
    if (type == u"B")
        return u"Every "_s + time + u" or "_s + meter;
    return u"None"_s;
}

std::optional<Decimal> unitsPerDay(data::Company &company, const QString &equipmentId)
{
    data::ScanOptions options = data::ScanOptions::equal({Text::clip(equipmentId)});
    options.fields = {u"EQL:Date"_s, u"EQL:Units"_s};
    data::KeyCursor cursor = company.file<EQLog>().scan(u"KeyEquipmentID", options);
    EQLog log;
    int count = 0;
    DayNumber first = 0, last = 0;
    Decimal units;
    while (cursor.next(log)) {
        first = count == 0 ? log.Date : std::min(first, log.Date);
        last = count == 0 ? log.Date : std::max(last, log.Date);
        units += log.Units;
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    if (first == last)
        return units.rounded(2);
    return (units / Decimal(last - first)).rounded(2);
}

QString scheduleTitle(int method, const QString &customName)
{
    switch (method) {
    case 1:
        return u"Straight Line Depreciation Schedule"_s;
    case 2:
        return u"Sum of Years' Digits Depreciation Schedule"_s;
    case 3:
        return u"Double Rate Declining Balance Depreciation Schedule"_s;
    default:
        return Text::clip(customName) + u" Depreciation Schedule"_s;
    }
}

namespace {

struct Pair
{
    Decimal quantity, amount;
};

template <class R>
Pair priorFigures(data::Company &company, const QString &key, QList<data::FieldValue> values,
                  const QString &quantityField, const QString &amountField)
{
    R record;
    const data::KeyDef &keyDef = R::fileSchema().key(key);
    for (int i = 0; i < keyDef.fields.size(); ++i)
        record.setValue(keyDef.fields[i], values[i]);
    if (!company.file<R>().fetch(key, record))
        return {};
    return {std::get<Decimal>(record.value(quantityField)),
            std::get<Decimal>(record.value(amountField))};
}

QString money(const Decimal &value)
{
    static const Picture picture = Picture::parse(u"@n-15.2"_s);
    return picture.format(value).trimmed();
}

} // namespace

QList<forms::ChildRow> costCategoryRows(data::Company &company, const EQHeader &equipment,
                                        int fiscalYear, int period)
{
    const QString id = Text::clip(equipment.EquipmentID);
    QList<forms::ChildRow> rows;
    Pair totals[3];
    data::KeyCursor cursor =
        company.file<EQCost>().scan(u"KeyEquipmentID", data::ScanOptions::equal({id}));
    EQCost cost;
    while (cursor.next(cost)) {
        const QString category = Text::clip(cost.CostCategory);
        EQCode code;
        code.CategoryID = category;
        const QString description = company.file<EQCode>().fetch(u"KeyCategoryID", code)
                                        ? Text::clip(code.Description)
                                        : u"Code Not In Dictionary"_s;
        const Pair figures[3] = {
            {cost.CumulativeUnitUsed, cost.CumulativeAmount},
            priorFigures<EQPriorC>(company, u"KeyEquipmentCategoryYear"_s,
                                   {id, category, qint64(fiscalYear)}, u"Units"_s, u"Amount"_s),
            priorFigures<EQPriorCM>(company, u"KeyEquipmentCategoryYearPeriod"_s,
                                    {id, category, qint64(fiscalYear), qint64(period)}, u"Units"_s,
                                    u"Amount"_s),
        };
        forms::ChildRow row{.cells = {category, description}, .key = {cost.RecordID}};
        for (int c = 0; c < 3; ++c) {
            row.cells << money(figures[c].quantity) << money(figures[c].amount);
            totals[c].amount += figures[c].amount;
        }
        rows.append(row);
    }
    const Pair internal[3] = {
        {equipment.CumulativeInternalUnits, equipment.CumulativeInternalIncome},
        priorFigures<EQPrior>(company, u"KeyEquipmentYear"_s, {id, qint64(fiscalYear)},
                              u"InternalUnits"_s, u"InternalIncome"_s),
        priorFigures<EQPriorM>(company, u"KeyEquipmentYearPeriod"_s,
                               {id, qint64(fiscalYear), qint64(period)}, u"InternalUnits"_s,
                               u"InternalIncome"_s),
    };
    const Pair rental[3] = {
        {equipment.CumulativeRentalUnits, equipment.CumulativeRentalIncome},
        priorFigures<EQPrior>(company, u"KeyEquipmentYear"_s, {id, qint64(fiscalYear)},
                              u"RentalUnits"_s, u"RentalIncome"_s),
        priorFigures<EQPriorM>(company, u"KeyEquipmentYearPeriod"_s,
                               {id, qint64(fiscalYear), qint64(period)}, u"RentalUnits"_s,
                               u"RentalIncome"_s),
    };
    forms::ChildRow costs{.cells = {u"Total Costs:"_s, {}}, .bold = true};
    forms::ChildRow internalRow{.cells = {u"Internal Income"_s, {}}};
    forms::ChildRow rentalRow{.cells = {u"Rental Income"_s, {}}};
    forms::ChildRow income{.cells = {u"Total Income"_s, {}}, .bold = true};
    forms::ChildRow profit{.cells = {u"Profit"_s, {}}, .bold = true};
    for (int c = 0; c < 3; ++c) {
        costs.cells << QString() << money(totals[c].amount);
        internalRow.cells << money(internal[c].quantity) << money(internal[c].amount);
        rentalRow.cells << money(rental[c].quantity) << money(rental[c].amount);
        const Decimal incomeAmount = internal[c].amount + rental[c].amount;
        income.cells << money(internal[c].quantity + rental[c].quantity) << money(incomeAmount);
        const Decimal gain = incomeAmount - totals[c].amount;
        profit.cells << QString() << money(gain);
        if (gain.isNegative())
            profit.negative.append(3 + 2 * c);
    }
    rows << costs << internalRow << rentalRow << income << profit;
    return rows;
}

} // namespace qaveq::EquipmentRules
