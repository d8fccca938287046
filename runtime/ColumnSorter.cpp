#include "ColumnSorter.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

ColumnSorter::ColumnSorter(QList<Column> columns)
    : m_columns(std::move(columns))
{}

void ColumnSorter::press(int column, Press kind)
{
    if (column < 1 || column > m_columns.size())
        return;
    if (kind != Press::Shift && !m_columns[column - 1].sortable)
        return;
    if (kind == Press::Shift) {
        m_sort.clear();
        return;
    }
    if (kind == Press::Control && m_multiColumn) {
        for (int &entry : m_sort)
            if (std::abs(entry) == column) {
                entry = -entry;
                return;
            }
        m_sort.append(column);
        return;
    }
    const bool again = !m_sort.isEmpty() && std::abs(m_sort.first()) == column;
    m_sort = {again ? -m_sort.first() : column};
}

QStringList ColumnSorter::headers() const
{
    QStringList texts;
    for (int c = 1; c <= m_columns.size(); ++c) {
        QString text = m_columns[c - 1].header;
        for (int i = 0; i < m_sort.size(); ++i) {
            if (std::abs(m_sort[i]) != c)
                continue;
            text += u'[' + QString(m_sort[i] > 0 ? u'+' : u'-');
            if (m_sort.size() > 1)
                text += QString::number(i + 1);
            text += u']';
        }
        texts.append(text);
    }
    return texts;
}

bool ColumnSorter::upperCased(int column) const
{
    const QString picture = m_columns[column - 1].picture.toLower().remove(u'@');
    const QChar kind = picture.isEmpty() ? QChar(u's') : picture.front();
    if (kind == u'n' || kind == u't' || kind == u'd' || kind == u'e')
        return false;
    switch (m_caseRule) {
    case CaseRule::Exact:
        return false;
    case CaseRule::AllColumns:
        return true;
    case CaseRule::StringColumns:
        return kind == u's';
    }
    return false;
}

QString ColumnSorter::sortExpression(const QStringList &fieldNames) const
{
    QStringList parts;
    for (int entry : m_sort) {
        const int column = std::abs(entry);
        QString field = fieldNames.value(m_columns[column - 1].field - 1);
        if (upperCased(column))
            field = u"UPPER("_s + field + u')';
        parts.append(QString(entry > 0 ? u'+' : u'-') + field);
    }
    return parts.join(u',');
}

QString ColumnSorter::savedValue() const
{
    QStringList parts;
    for (int entry : m_sort)
        parts.append(QString::number(entry));
    return parts.join(u',');
}

void ColumnSorter::restore(const QString &saved)
{
    m_sort.clear();
    for (const QString &part : saved.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int entry = part.trimmed().toInt(&ok);
        if (ok && entry != 0 && std::abs(entry) <= m_columns.size() &&
            m_columns[std::abs(entry) - 1].sortable)
            m_sort.append(entry);
    }
}

int ColumnSorter::compare(const QVariantList &a, const QVariantList &b, int entry) const
{
    const int column = std::abs(entry);
    const int field = m_columns[column - 1].field - 1;
    const QVariant &x = a.value(field);
    const QVariant &y = b.value(field);
    int order = 0;
    if (x.typeId() == QMetaType::QString || y.typeId() == QMetaType::QString)
        order = x.toString().compare(y.toString(),
                                     upperCased(column) ? Qt::CaseInsensitive : Qt::CaseSensitive);
    else
        order = QVariant::compare(x, y) == QPartialOrdering::Less      ? -1
                : QVariant::compare(x, y) == QPartialOrdering::Greater ? 1
                                                                       : 0;
    return entry > 0 ? order : -order;
}

void ColumnSorter::sortRows(QList<QVariantList> &rows) const
{
    if (m_sort.isEmpty())
        return;
    std::stable_sort(rows.begin(), rows.end(),
                     [this](const QVariantList &a, const QVariantList &b) {
                         for (int entry : m_sort)
                             if (const int order = compare(a, b, entry); order != 0)
                                 return order < 0;
                         return false;
                     });
}

int ColumnSorter::rowFor(const QList<QVariantList> &rows, const QVariant &remembered) const
{
    if (rows.isEmpty() || m_sort.isEmpty())
        return 0;
    QVariantList probe(rows.first().size());
    probe[m_columns[std::abs(m_sort.first()) - 1].field - 1] = remembered;
    for (int i = 0; i < rows.size(); ++i)
        if (compare(rows[i], probe, m_sort.first()) >= 0)
            return i;
    return static_cast<int>(rows.size()) - 1;
}

} // namespace qaveq
