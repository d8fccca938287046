#include "ImportPreview.h"

#include "core/Picture.h"

using namespace Qt::StringLiterals;

namespace qaveq::ImportPreview {

namespace {

const QList<Column> &all()
{
    static const QList<Column> table{{u'Q', u"EQ ID"_s, 30, false, u"@s10"_s},
                                     {u'S', u"Meter Start"_s, 30, true, u"@n-15.2"_s},
                                     {u'F', u"Meter End"_s, 30, true, u"@n-15.2"_s},
                                     {u'U', u"Units"_s, 40, true, u"@n7.2b"_s},
                                     {u'T', u"Charge Type"_s, 45, false, u"@s10"_s},
                                     {u'D', u"Detail Type"_s, 45, false, u"@s10"_s},
                                     {u'G', u"GL Account"_s, 45, false, u"@s10"_s},
                                     {u'J', u"Job ID"_s, 40, false, u"@s10"_s},
                                     {u'C', u"Cost Code"_s, 40, false, u"@s14"_s},
                                     {u'P', u"EQ Charged"_s, 40, false, u"@s10"_s},
                                     {u'A', u"Category"_s, 40, false, u"@s10"_s},
                                     {u'M', u"Comment"_s, 80, false, u"@s40"_s},
                                     {u'#', u"Date"_s, 40, true, u"@d1b"_s},
                                     {u'L', u"Location"_s, 49, false, u"@s10"_s},
                                     {u'E', u"Emp ID"_s, 49, true, u"@n_5b"_s}};
    return table;
}

} // namespace

QList<Column> columns(const QList<ImportLayout::Item> &items)
{
    QList<Column> result;
    for (const ImportLayout::Item &item : items)
        for (const Column &column : all())
            if (column.code == item.code)
                result.append(column);
    return result;
}

QString text(const ImportLine::Fields &f, const Column &column)
{
    const Picture picture = Picture::parse(column.picture);
    switch (column.code.unicode()) {
    case u'Q':
        return picture.format(f.equipmentId);
    case u'S':
        return picture.format(f.startMeter);
    case u'F':
        return picture.format(f.endMeter);
    case u'U':
        return picture.format(f.units);
    case u'T':
        return picture.format(f.chargeType);
    case u'D':
        return picture.format(f.detailType);
    case u'G':
        return picture.format(f.account);
    case u'J':
        return picture.format(f.jobId);
    case u'C':
        return picture.format(f.costCode);
    case u'P':
        return picture.format(f.equipmentCharged);
    case u'A':
        return picture.format(f.category);
    case u'M':
        return picture.format(f.comment);
    case u'#':
        return picture.format(qint64(f.date));
    case u'L':
        return picture.format(f.location);
    case u'E':
        return picture.format(qint64(f.employeeId));
    default:
        return {};
    }
}

} // namespace qaveq::ImportPreview
