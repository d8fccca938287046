#include "ListLayout.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

namespace qaveq::ListLayout {

QString format(const QList<int> &widths)
{
    QStringList parts;
    for (int width : widths)
        parts.append(QString::number(width));
    return parts.join(u',');
}

QList<int> widths(const QString &format)
{
    QList<int> result;
    for (const QString &part : format.split(u',', Qt::SkipEmptyParts))
        result.append(part.toInt());
    return result;
}

std::optional<QString> load(data::Company &company, const QString &userId, const QString &procedure)
{
    LBFmt record;
    record.UserID = userId;
    record.ProcedureName = procedure;
    if (!company.file<LBFmt>().fetch(u"KeyUserProcedure", record))
        return std::nullopt;
    return record.Format;
}

data::FileStatus save(data::Company &company, const QString &userId, const QString &procedure,
                      const QString &format)
{
    data::Table &file = company.file<LBFmt>();
    LBFmt record;
    record.UserID = userId;
    record.ProcedureName = procedure;
    const bool exists = file.fetch(u"KeyUserProcedure", record).isOk();
    record.Format = format;
    return exists ? file.update(record) : file.insert(record);
}

} // namespace qaveq::ListLayout
