#include "TestRecords.h"

#include "data/SchemaBuilder.h"

using namespace Qt::StringLiterals;

namespace qaveq::testing {

const data::FileSchema &Part::fileSchema()
{
    using B = data::SchemaBuilder<Part>;
    static const data::FileSchema schema =
        B(u"Part"_s, u"PRT"_s)
            .autoNumber(u"RecordID"_s, &Part::RecordID)
            .text(u"Code"_s, &Part::Code, 8)
            .required()
            .text(u"Group"_s, &Part::Group, 4)
            .decimal(u"Price"_s, &Part::Price, 9, 2)
            .date(u"Added"_s, &Part::Added)
            .integer(u"Flag"_s, &Part::Flag)
            .key(u"KeyCode"_s, B::Unique, {u"Code"_s})
            .key(u"KeyGroup"_s, B::Duplicates, {u"Group"_s, u"Added"_s})
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyCodeDown"_s, B::UniqueDescending, {u"Code"_s})
            .build();
    return schema;
}

data::Catalog partsCatalog()
{
    data::Catalog catalog;
    catalog.add(Part::fileSchema());
    return catalog;
}

Part makePart(const QString &code, const QString &group, const char *price, int addedDay)
{
    Part part;
    part.Code = code;
    part.Group = group;
    part.Price = Decimal::parse(QString::fromLatin1(price)).value();
    part.Added = addedDay;
    return part;
}

} // namespace qaveq::testing
