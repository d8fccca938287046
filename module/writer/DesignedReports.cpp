#include "DesignedReports.h"

#include "WriterCatalogues.h"

#include "runtime/writer/ReportDocument.h"

#include "data/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

QStringList DesignedReports::folders(const data::Session &session)
{
    QStringList found;
    for (const QString &folder :
         {QDir(session.dataPath).filePath(u"Reports"_s), session.reportWriter.searchPath}) {
        if (folder.trimmed().isEmpty())
            continue;
        const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        if (!found.contains(clean))
            found.append(clean);
    }
    return found;
}

QList<DesignedReport> DesignedReports::list(const QStringList &folders)
{
    QList<DesignedReport> reports;
    for (const QString &folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({u"*.qvr"_s}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo &file : files) {
            DesignedReport report;
            report.path = file.absoluteFilePath();
            report.modified = file.lastModified();
            const std::optional<writer::ReportDocument> document =
                writer::ReportDocument::load(report.path, &report.problem);
            if (document) {
                report.name = document->name;
                report.typeName = document->type;
                report.type = writerReportType(document->type);
                if (!report.type)
                    report.problem = u"\"%1\" is not a report type of QAVEQ."_s.arg(document->type);
            } else {
                report.name = file.completeBaseName();
            }
            reports.append(report);
        }
    }
    std::stable_sort(reports.begin(), reports.end(),
                     [](const DesignedReport &a, const DesignedReport &b) {
                         return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
                     });
    return reports;
}

std::optional<QString> DesignedReports::copy(const DesignedReport &report, QString *error)
{
    std::optional<writer::ReportDocument> document =
        writer::ReportDocument::load(report.path, error);
    if (!document)
        return std::nullopt;
    const QFileInfo original(report.path);
    QString path;
    for (int n = 1; path.isEmpty() || QFileInfo::exists(path); ++n)
        path =
            original.dir().filePath(original.completeBaseName() + u" copy"_s +
                                    (n == 1 ? QString() : u" "_s + QString::number(n)) + u".qvr"_s);
    document->name = u"Copy of "_s + document->name;
    if (!document->save(path, error))
        return std::nullopt;
    return path;
}

bool DesignedReports::remove(const DesignedReport &report, QString *error)
{
    QFile file(report.path);
    if (file.remove())
        return true;
    *error = u"%1 cannot be deleted: %2"_s.arg(QDir::toNativeSeparators(report.path),
                                               file.errorString());
    return false;
}

} // namespace qaveq
