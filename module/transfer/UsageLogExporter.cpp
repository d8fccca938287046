#include "UsageLogExporter.h"

#include "ImportLine.h"

#include "records/EQLogB.h"

#include "data/Company.h"

#include "core/OutputFile.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::UsageLogExporter {

namespace {

// The common CSV rule: a field holding a comma or a quote, or beginning with
// a blank, is written in quotes with each quote doubled. Text a spreadsheet
// would compute gets an apostrophe before it, which the import takes off.
// A control character (only in logs stored before they were refused) is
// written as a space, so that a log is always one line.
QString text(const QString &value)
{
    const QString guarded =
        ImportLine::guardedFromFormula(Text::controlsToSpaces(Text::clip(value)));
    if (!guarded.contains(u',') && !guarded.contains(u'"') && !guarded.startsWith(u' '))
        return guarded;
    return u'"' + QString(guarded).replace(u"\""_s, u"\"\""_s) + u'"';
}

// Month and day two characters wide, right-aligned: " 1/ 5/2025"; a log
// without a date gives an empty field, which the import reads as today.
QString date(DayNumber day)
{
    const QDate d = SuiteDate::toQDate(day);
    const auto n2 = [](int value) { return QString::number(value).rightJustified(2, u' '); };
    if (!d.isValid())
        return {};
    return n2(d.month()) + u'/' + n2(d.day()) + u'/' +
           QString::number(d.year()).rightJustified(4, u'0');
}

} // namespace

QString lineOf(const EQLogB &log)
{
    const QStringList fields{text(log.EquipmentID),
                             log.StartMeter.toString(),
                             log.EndMeter.toString(),
                             log.Units.toString(),
                             text(Text::clip(log.ChargeType).left(1)),
                             text(log.DetailType),
                             text(log.GLAccount),
                             text(log.JobID),
                             text(log.CostCode),
                             text(log.EquipmentIDCharged),
                             text(log.Category),
                             text(log.Comments),
                             date(log.Date),
                             text(log.Location),
                             QString::number(log.EmployeeID)};
    return fields.join(u',');
}

Result exportBatch(data::Company &company, quint16 batchId, const QString &path)
{
    if (const QString refused = OutputFile::refusal(path); !refused.isEmpty())
        return notDone<Result>(refused);
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return notDone<Result>(file.errorString() + u" Creating File"_s);
    data::KeyCursor cursor =
        company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
    int written = 0;
    for (EQLogB log; cursor.next(log); ++written)
        file.write((lineOf(log) + u"\n"_s).toUtf8());
    if (cursor.error())
        return notDone<Result>(cursor.error()->text() + u" Reading EQLogB"_s);
    if (const QString problem = file.finish(); !problem.isEmpty())
        return notDone<Result>(problem + u" Copying File"_s);
    Result result;
    result.done = true;
    result.written = written;
    return result;
}

} // namespace qaveq::UsageLogExporter
