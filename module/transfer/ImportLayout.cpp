#include "ImportLayout.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::ImportLayout {

const QStringList &dateFormats()
{
    static const QStringList formats{
        u"MM/DD/YY"_s,   u"MM-DD-YY"_s, u"MMDDYY"_s,     u"MM/DD/YYYY"_s, u"MM-DD-YYYY"_s,
        u"MMDDYYYY"_s,   u"DD/MM/YY"_s, u"DD-MM-YY"_s,   u"DDMMYY"_s,     u"DD/MM/YYYY"_s,
        u"DD-MM-YYYY"_s, u"DDMMYYYY"_s, u"YYYY-MM-DD"_s, u"YYYYMMDD"_s};
    return formats;
}

const QList<Field> &fields()
{
    static const QList<Field> table{{u'Q', u"Equipment ID"_s}, {u'S', u"Meter Start"_s},
                                    {u'F', u"Meter End"_s},    {u'U', u"Total Units"_s},
                                    {u'T', u"Charge Type"_s},  {u'D', u"Detail Type"_s},
                                    {u'G', u"GL Account"_s},   {u'J', u"Job ID"_s},
                                    {u'C', u"Cost Code"_s},    {u'P', u"Equipment Charged"_s},
                                    {u'A', u"Category"_s},     {u'M', u"Comment"_s},
                                    {u'#', u"Date"_s},         {u'L', u"Location"_s},
                                    {u'E', u"Employee ID"_s},  {u'0', u"Unused"_s}};
    return table;
}

QString contentsOf(QChar code)
{
    for (const Field &field : fields())
        if (field.code == code)
            return field.contents;
    return {};
}

std::optional<QChar> codeOf(const QString &contents)
{
    for (const Field &field : fields())
        if (field.contents == contents)
            return field.code;
    return std::nullopt;
}

QStringList contentsChoices(bool generic)
{
    if (generic)
        return {u"Fiscal Period"_s, u"Fiscal Period Label"_s, u"Journal ID"_s,   u"Date"_s,
                u"GL Account"_s,    u"Description"_s,         u"Check Number"_s, u"Amount"_s,
                u"Credit/Debit"_s};
    QStringList choices;
    for (const Field &field : fields())
        choices.append(field.contents);
    return choices;
}

QString columnName(int number)
{
    QString name;
    for (int rest = number; rest > 0; rest = (rest - 1) / 26)
        name.prepend(QChar(u'A' + (rest - 1) % 26));
    return name;
}

QList<Item> items(const QString &layout)
{
    const QString text = Text::clip(layout);
    QList<Item> result;
    for (qsizetype at = 0; at + 3 <= text.size(); at += 3) {
        bool ok = false;
        const int length = text.mid(at + 1, 2).toInt(&ok);
        result.append({text.at(at), ok ? length : 0});
    }
    return result;
}

QList<Row> parse(const QString &layout)
{
    QList<Row> rows;
    for (const Item &item : items(layout))
        rows.append(Row{0, QString(), contentsOf(item.code), item.length, 0});
    renumber(rows);
    return rows;
}

void renumber(QList<Row> &rows)
{
    int start = 1;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        Row &row = rows[i];
        row.number = int(i) + 1;
        row.column = columnName(row.number);
        row.start = start;
        start += row.length;
    }
}

QString build(const QList<Row> &rows)
{
    QString layout;
    for (const Row &row : rows)
        if (const std::optional<QChar> code = codeOf(row.contents))
            layout += *code + QString::number(qBound(0, row.length, 99)).rightJustified(2, u'0');
    return layout;
}

static int moveTo(QList<Row> &rows, int index, int to)
{
    if (index < 0 || index >= rows.size())
        return index;
    rows.move(index, qBound(0, to, int(rows.size()) - 1));
    renumber(rows);
    return qBound(0, to, int(rows.size()) - 1);
}

int moveToTop(QList<Row> &rows, int index)
{
    return moveTo(rows, index, 0);
}

int moveUp(QList<Row> &rows, int index)
{
    return moveTo(rows, index, index - 1);
}

int moveDown(QList<Row> &rows, int index)
{
    return moveTo(rows, index, index + 1);
}

int moveToBottom(QList<Row> &rows, int index)
{
    return moveTo(rows, index, int(rows.size()) - 1);
}

} // namespace qaveq::ImportLayout
