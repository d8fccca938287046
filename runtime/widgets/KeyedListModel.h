#pragma once

#include "data/KeyCursor.h"
#include "data/Record.h"

#include "core/Picture.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFuture>
#include <QIcon>

#include <functional>

#include <memory>
#include <vector>

namespace qaveq::data {
class Table;
}

namespace qaveq {

// The rows of a list window, read from a keyed file a page at a time as the
// view scrolls: the first page comes at once however long the file is.
class KeyedListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString header;
        QString field;   // "GLM:Account"
        QString picture; // "@s12"
        int width = 100; // designed width in pixels
        // A column shown from another file (a description by its code): the
        // text for the row; `field` then names the field it is found by.
        std::function<QString(const data::Record &)> display = {};
        // An icon column (the paper clip of a record with attachments): the
        // row's icon, shown instead of the field's text.
        std::function<QIcon(const data::Record &)> icon = {};
        // A flag (0 or 1) shown as "Yes" or "No", as every list shows flags.
        bool yesNo = false;
    };

    static constexpr int PageSize = 100;

    KeyedListModel(data::Table &table, QList<Column> columns, QObject *parent = nullptr);

    void setKey(const QString &key);
    // Limits the list to key values from `from` up to `to` (leading key fields).
    void setRange(QList<data::FieldValue> from, QList<data::FieldValue> to);
    void setFilters(QList<data::Filter> filters);
    // Orders the list by these fields ahead of its key (the headings' sort);
    // empty: key order. Takes effect at the next reload.
    void setOrder(QList<data::SortField> order);
    // Starts the list at the first record at or after `position` in key order;
    // an empty position starts at the beginning of the range.
    void locate(QList<data::FieldValue> position);
    void reload();
    // Why the list could not be read, when it could not.
    std::optional<data::FileError> error() const
    {
        return m_cursor ? m_cursor->error() : std::nullopt;
    }

    const QString &key() const { return m_key; }
    const QList<Column> &columns() const { return m_columns; }
    data::Table &table() const { return m_table; }
    // The row as listed: only the listed fields (and the key's) are read.
    const data::Record &record(int row) const { return *m_rows[static_cast<std::size_t>(row)]; }
    // Every record of the list (its range and filters), not only those read.
    qint64 recordCount() const;
    // The same count, made on a connection of its own on a worker thread: on
    // a long file it takes many times as long as the first page, which must
    // not wait for it. A private in-memory database, or one in the middle of
    // a transaction whose rows no other connection sees yet, is counted at
    // once. A count is kept while the database is unchanged (where it can
    // tell, see Database::changeStamp()): the same list opened again shows it
    // without reading the file. -1 when it cannot be counted.
    QFuture<qint64> countInBackground() const;
    static QString countText(qint64 count); // "12 Records", "1 Record"
    // The suite's green-bar shading of every second row.
    static QColor greenBar() { return QColor(0xE4, 0xF2, 0xE4); }
    // A column's text for one record, through its picture.
    QString text(const data::Record &record, int column) const;
    data::ScanOptions scanOptions() const;
    // The whole list: its range and filters, from its first record.
    data::ScanOptions rangeOptions() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A heading's text as shown (with the sort's marker); the designed
    // heading stays in columns().
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    data::Table &m_table;
    QList<Column> m_columns;
    QList<int> m_fields;
    QList<Picture> m_pictures;
    QString m_key;
    QList<data::FieldValue> m_from;
    QList<data::FieldValue> m_to;
    QList<data::FieldValue> m_position;
    QList<data::Filter> m_filters;
    QList<data::SortField> m_order;
    QStringList m_headings; // as shown
    std::unique_ptr<data::KeyCursor> m_cursor;
    std::vector<std::unique_ptr<data::Record>> m_rows;
    bool m_atEnd = true;
};

} // namespace qaveq
