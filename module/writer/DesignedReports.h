#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq {

struct WriterReportType;

namespace data {
class Session;
}

// One report file the company's users designed.
struct DesignedReport
{
    QString path;
    QString name;                           // the report's own name
    const WriterReportType *type = nullptr; // null when the file is of no known type
    QString typeName;                       // as stored: "PrintUsageLogFM"
    QDateTime modified;
    QString problem; // why the file cannot be read; empty when it can
};

// The company's designed reports: the report files in its Reports folder and
// in the report writer's search path, to run, design, copy and delete.
class DesignedReports
{
public:
    // The folders searched, the company's Reports folder first; each once.
    static QStringList folders(const data::Session &session);
    // Every report file of the folders, by name; a file that cannot be read
    // is listed with its problem rather than left out, so it can be deleted.
    static QList<DesignedReport> list(const QStringList &folders);
    // A copy beside the original, "Name copy.qvr" (then "Name copy 2.qvr"
    // ...), named "Copy of " and the report's name; its path, or nothing
    // with the fault in `error`.
    static std::optional<QString> copy(const DesignedReport &report, QString *error);
    // Removes the file; false with the fault in `error`.
    static bool remove(const DesignedReport &report, QString *error);
};

} // namespace qaveq
