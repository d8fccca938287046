#pragma once

#include "runtime/writer/Catalogue.h"
#include "runtime/writer/ReportProcessor.h"

namespace qaveq {

// One of the module's five user-designed report types: the procedure that
// runs it (its name is the report type), the files and fields its reports
// may use, how those files are read together, and its PDF's name.
struct WriterReportType
{
    QString procedure; // "PrintUsageLogFM"
    QString title;     // what it reports on, for menus and messages
    QString pdfName;   // appended to the user's PDF folder
    QList<writer::CatalogueFile> files;
    writer::DataPlan plan;

    // The catalogue as the report writer takes it.
    QString catalogueText() const;
    writer::Catalogue catalogue() const;
    // The report shipped with the program for this type.
    QString starterFile() const;
};

const QList<WriterReportType> &writerReportTypes();
// By procedure name in any letter case ("PRINTUSAGELOGFM"); null when none.
const WriterReportType *writerReportType(QStringView procedure);

} // namespace qaveq
