#pragma once

#include "Catalogue.h"
#include "ReportDocument.h"

#include "runtime/report/ReportEngine.h"

#include "data/FieldValue.h"
#include "data/KeyCursor.h"

#include <QDateTime>

#include <map>
#include <memory>
#include <optional>

namespace qaveq::data {
class Company;
class Record;
} // namespace qaveq::data

namespace qaveq::writer {

// How the files of a catalogue are read together: the primary file in the
// order of one of its keys, and each related file by a key whose leading
// fields take the values of fields of the file it hangs under.
struct FileLink
{
    QString file;             // "EQHeader"
    QString parent;           // the file it hangs under
    QString key;              // of `file`: "KeyEquipmentID"
    QStringList parentFields; // "EQL:EquipmentID"
    bool every = false;       // every related record (level 4), else the one (level 3)
};

struct DataPlan
{
    QString primary;
    QString primaryKey;
    QList<FileLink> links;
};

// The values a band is filled with: fields of the records in hand, totals of
// the band's group, and the report's own values. The designer fills its
// canvas through the same band rendering with names in place of values.
class ValueSource
{
public:
    virtual ~ValueSource() = default;
    virtual QString field(const ReportObject &object) const = 0;
    virtual QString variable(const QString &name) const = 0;
};

// The printed band of a designed band: its objects drawn as the report
// engine draws, their texts from `values`, and one tab-separated export line
// of its texts from left to right.
report::Band renderBand(const ReportBand &band, const Catalogue &catalogue,
                        const ValueSource &values);

// A field's value as text under a picture; a picture the formatter does not
// know shows the value plainly.
QString formatValue(const data::FieldValue &value, const QString &picture);

// Runs a designed report over a company's data (the report writer's
// PROCESSDATA): reads the primary file in key order a slice at a time with
// its related records, breaks groups, keeps totals, and prints the bands
// through the report engine. Records are read through keyed cursors that
// hold one page of rows, so a run of any size keeps a flat memory.
class ReportProcessor
{
public:
    struct Context
    {
        data::Company &company;
        QString companyName;
        QString userName;
        QDateTime run;
        // Whether the bands add their text copy to the export list. A run
        // that offers no export leaves it out, so that its memory stays the
        // same however many records it prints.
        bool textCopy = false;
    };

    ReportProcessor(const ReportDocument &document, const Catalogue &catalogue, DataPlan plan,
                    Context context);
    ~ReportProcessor();

    // The date and time the report prints for {Date} and {Time}.
    void setRunTime(const QDateTime &run) { m_context.run = run; }
    // Records in the primary file.
    qint64 primaryCount();
    // Reads the first record; false when there is none or the data cannot be
    // read (error() says why).
    bool open();
    // The page header and footer, filled from the records in hand.
    report::ReportEngine::PageBand pageHeader() const;
    report::ReportEngine::PageBand pageFooter() const;
    // Prints up to `records` primary records with everything that belongs to
    // them; false once the report is over (the footers printed) or failed.
    bool next(report::ReportEngine &engine, int records);

    qint64 recordsRead() const { return m_read; }
    int percentRead() const;
    QString error() const { return m_error; }

private:
    class Values;
    struct Group;
    using Totals = std::vector<const ReportObject *>;

    data::Record &record(const QString &file);
    void fetchLookups(const QString &parent);
    report::Band printed(const ReportBand &band) const;
    bool printBand(report::ReportEngine &engine, const ReportBand *band);
    bool printChildren(report::ReportEngine &engine, const QString &parent);
    void accumulate(const QString &file);
    void resetTotals(const Totals &objects);
    bool closeGroups(report::ReportEngine &engine, int from);
    bool readNext();

    const ReportDocument &m_document;
    const Catalogue &m_catalogue;
    DataPlan m_plan;
    Context m_context;
    std::unique_ptr<Values> m_values;
    std::map<QString, std::unique_ptr<data::Record>> m_records; // by file name, lower case
    std::unique_ptr<data::Record> m_pending;                    // the next primary record
    // The key each related record in hand was read by (by file name, lower case).
    std::map<QString, QList<data::FieldValue>> m_lookupKeys;
    std::optional<data::KeyCursor> m_cursor;
    std::vector<Group> m_groups;
    std::map<QString, Totals> m_childTotals; // the totals of each related file's footer
    bool m_started = false;
    qint64 m_total = 0;
    qint64 m_read = 0;
    QString m_error;
};

} // namespace qaveq::writer
