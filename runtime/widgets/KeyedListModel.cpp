#include "KeyedListModel.h"

#include "data/Database.h"
#include "data/Table.h"

#include <QHash>
#include <QMutex>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// The counts made, each with the database's change stamp taken as it began:
// a list opened again over an unchanged file shows its count at once instead
// of reading the whole file again.
struct KeptCount
{
    QString stamp;
    qint64 count = -1;
};

struct KeptCounts
{
    QMutex mutex;
    QHash<QString, KeptCount> counts;
};

KeptCounts &keptCounts()
{
    static KeptCounts kept;
    return kept;
}

QString valueText(const data::FieldValue &value)
{
    if (const auto *number = std::get_if<qint64>(&value))
        return u'n' + QString::number(*number);
    if (const auto *decimal = std::get_if<Decimal>(&value))
        return u'd' + decimal->toString();
    return u's' + std::get<QString>(value);
}

// What a count covers: the database, the file and key, and the list's limits.
QString countKey(const data::Database &db, const data::FileSchema &schema, const QString &key,
                 const data::ScanOptions &options)
{
    QStringList parts{db.settings().sqliteFile, db.settings().schema, schema.name, key};
    for (const data::FieldValue &value : options.from)
        parts.append(u"from:"_s + valueText(value));
    for (const data::FieldValue &value : options.to)
        parts.append(u"to:"_s + valueText(value));
    for (const data::Filter &filter : options.filters)
        parts.append(u"filter:%1:%2:"_s.arg(filter.field).arg(int(filter.op)) +
                     valueText(filter.value));
    return parts.join(u'\x1f');
}

} // namespace

KeyedListModel::KeyedListModel(data::Table &table, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_columns(std::move(columns))
{
    const data::FileSchema &schema = table.schema();
    for (const Column &column : std::as_const(m_columns)) {
        const int field = schema.fieldIndex(column.field);
        if (field < 0)
            throw std::invalid_argument(
                u"no field %1 in %2"_s.arg(column.field, schema.name).toStdString());
        m_fields.append(field);
        m_pictures.append(Picture::parse(column.picture));
        m_headings.append(column.header);
    }
    m_key = schema.keys.first().name;
}

void KeyedListModel::setKey(const QString &key)
{
    m_key = m_table.schema().key(key).name;
}

void KeyedListModel::setRange(QList<data::FieldValue> from, QList<data::FieldValue> to)
{
    m_from = std::move(from);
    m_to = std::move(to);
}

void KeyedListModel::setFilters(QList<data::Filter> filters)
{
    m_filters = std::move(filters);
}

void KeyedListModel::setOrder(QList<data::SortField> order)
{
    m_order = std::move(order);
}

void KeyedListModel::locate(QList<data::FieldValue> position)
{
    m_position = std::move(position);
    reload();
}

data::ScanOptions KeyedListModel::scanOptions() const
{
    data::ScanOptions options;
    options.from = m_position.isEmpty() ? m_from : m_position;
    options.to = m_to;
    options.filters = m_filters;
    options.order = m_order;
    options.pageSize = PageSize;
    // A list reads what it shows; a chosen row is read whole again. A column
    // the screen works out from its row may need any field: such a list
    // reads its rows whole.
    const bool worksOut = std::any_of(m_columns.cbegin(), m_columns.cend(),
                                      [](const Column &column) { return bool(column.display); });
    for (const Column &column : m_columns)
        if (!worksOut)
            options.fields.append(column.field);
    return options;
}

void KeyedListModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_cursor = std::make_unique<data::KeyCursor>(m_table.scan(m_key, scanOptions()));
    m_atEnd = false;
    endResetModel();
    fetchMore({});
}

data::ScanOptions KeyedListModel::rangeOptions() const
{
    data::ScanOptions options = scanOptions();
    options.from = m_from;
    return options;
}

qint64 KeyedListModel::recordCount() const
{
    return m_table.scan(m_key, rangeOptions()).count();
}

QFuture<qint64> KeyedListModel::countInBackground() const
{
    auto promise = std::make_shared<QPromise<qint64>>();
    QFuture<qint64> future = promise->future();
    promise->start();
    const data::Database &db = m_table.database();
    const data::ConnectionSettings &settings = db.settings();
    if (!db.canOpenAgain() || db.inTransaction()) {
        promise->addResult(recordCount());
        promise->finish();
        return future;
    }
    const data::ScanOptions options = rangeOptions();
    const QString kept = countKey(db, m_table.schema(), m_key, options);
    const std::optional<QString> stamp = db.changeStamp();
    if (stamp) {
        KeptCounts &counts = keptCounts();
        const QMutexLocker lock(&counts.mutex);
        const auto found = counts.counts.constFind(kept);
        if (found != counts.counts.cend() && found->stamp == *stamp) {
            promise->addResult(found->count);
            promise->finish();
            return future;
        }
    }
    QThreadPool::globalInstance()->start(
        [promise, settings, schema = &m_table.schema(), key = m_key, options, kept, stamp] {
            qint64 count = -1;
            try {
                data::Database own(settings);
                count = data::KeyCursor(own, *schema, schema->key(key), options).count();
            } catch (const data::DataError &) {
                // Not counted: the list itself is unaffected.
            }
            if (stamp && count >= 0) {
                KeptCounts &counts = keptCounts();
                const QMutexLocker lock(&counts.mutex);
                counts.counts.insert(kept, {*stamp, count});
            }
            promise->addResult(count);
            promise->finish();
        });
    return future;
}

QString KeyedListModel::countText(qint64 count)
{
    return count == 1 ? u"1 Record"_s : QString::number(count) + u" Records"_s;
}

QString KeyedListModel::text(const data::Record &record, int column) const
{
    if (m_columns[column].display)
        return m_columns[column].display(record);
    const data::FieldValue value = m_table.schema().fields[m_fields[column]].get(record);
    if (m_columns[column].yesNo)
        return value != data::FieldValue(qint64(0)) ? u"Yes"_s : u"No"_s;
    const Picture &picture = m_pictures[column];
    if (const auto *number = std::get_if<qint64>(&value))
        return picture.format(*number);
    if (const auto *decimal = std::get_if<Decimal>(&value))
        return picture.format(*decimal);
    return picture.format(std::get<QString>(value));
}

int KeyedListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int KeyedListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant KeyedListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (m_columns[index.column()].icon)
            return {};
        return text(record(index.row()), index.column());
    case Qt::DecorationRole:
        if (const auto &icon = m_columns[index.column()].icon)
            return icon(record(index.row()));
        return {};
    case Qt::BackgroundRole:
        // The first, third, fifth... row is shaded.
        return index.row() % 2 == 0 ? QVariant(greenBar()) : QVariant();
    case Qt::TextAlignmentRole:
        return m_pictures[index.column()].kind() == Picture::Kind::Number
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant KeyedListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_headings[section];
    if (role == Qt::TextAlignmentRole)
        return m_pictures[section].kind() == Picture::Kind::Number
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

bool KeyedListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                   int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size() ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_headings[section] = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

bool KeyedListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void KeyedListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_atEnd || !m_cursor)
        return;
    std::vector<std::unique_ptr<data::Record>> page;
    for (int i = 0; i < PageSize; ++i) {
        std::unique_ptr<data::Record> record = m_table.schema().create();
        if (!m_cursor->next(*record)) {
            m_atEnd = true;
            break;
        }
        page.push_back(std::move(record));
    }
    if (page.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    for (auto &record : page)
        m_rows.push_back(std::move(record));
    endInsertRows();
}

} // namespace qaveq
