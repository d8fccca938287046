#pragma once

#include "ImportLine.h"

#include "core/ProcessOutcome.h"
#include "data/suite/JobCostFiles.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace qaveq {

class Clock;
struct EQHeader;

namespace data {
class Session;
}

// Turns the lines of a text file into usage logs of a batch: reads the file
// by its source's layout, checks each line against the equipment, job-cost
// and general-ledger files, keeps the valid lines and the errors of the
// others, and inserts the kept lines as new unposted logs priced at the
// equipment's rate.
class UsageLogImporter
{
public:
    static constexpr int ErrorWidth = 50;
    // What one run keeps in memory is bounded whatever the file: a usage-log
    // file is a few thousand lines.
    static constexpr qint64 MaxFileBytes = qint64(64) << 20;
    static constexpr int MaxLines = 500000;
    static constexpr int MaxErrors = 10000;

    struct Line
    {
        int number = 0; // counted over every line read, header and blank lines too
        ImportLine::Fields fields;
    };
    struct Error
    {
        int line = 0;
        QString text;
    };

    UsageLogImporter(data::Session &session, const Clock &clock);
    ~UsageLogImporter();
    UsageLogImporter(const UsageLogImporter &) = delete;
    UsageLogImporter &operator=(const UsageLogImporter &) = delete;

    // Reads the whole file afresh; the reason when it cannot be read. Only
    // regular files are read; a file that is not UTF-8 (with or without a
    // byte-order mark) is read as Windows-1252.
    QString read(const JCLimits &source, const QString &path);
    QString read(const JCLimits &source, QIODevice &file);
    // Says how the file was read when it was not UTF-8; empty otherwise.
    QString encodingNote() const;

    const QList<Line> &lines() const { return m_lines; }
    const QList<Error> &errors() const { return m_errors; }
    // The user cancelled after seeing the errors: nothing is imported.
    void dropLines() { m_lines.clear(); }

    // The kept lines charged to a job cost code of a type other than
    // equipment (material, subcontract, labour, general, burden).
    int otherCostTypes() const;
    // Keeps the lines charged to equipment cost codes and those without a cost type.
    void keepEquipmentOnly();

    // Inserts the kept lines into the batch, all or none: a failure leaves the
    // batch as it was and says at which line. `progress` hears how many lines
    // are done and may stop the run (false), which also leaves the batch as it was.
    struct Result : ProcessOutcome
    {
        int imported = 0;
        Decimal amount = {}; // the imported logs' charges
    };
    Result import(quint16 batchId, const std::function<bool(int done, int total)> &progress = {});

    // The text of the log count: "1 Record", "12 Records".
    static QString countText(qsizetype count);
    // What an import did, in one line: "Imported 12 usage logs into batch 4, 1,234.56."
    static QString resultText(const Result &result, quint16 batchId);

private:
    struct Lookups;

    // Why the line cannot be imported, or nothing; completes its fields.
    std::optional<QString> check(ImportLine::Fields &fields);
    QChar costType(const ImportLine::Fields &fields) const;

    enum class Encoding { Utf8, Windows1252 };

    data::Session &m_session;
    const Clock &m_clock;
    Encoding m_encoding = Encoding::Utf8;
    std::unique_ptr<Lookups> m_lookups;
    QList<Line> m_lines;
    QList<Error> m_errors;
};

} // namespace qaveq

// A run of 100,000 lines grows its list by moving lines, not copying them.
Q_DECLARE_TYPEINFO(qaveq::UsageLogImporter::Line, Q_RELOCATABLE_TYPE);
