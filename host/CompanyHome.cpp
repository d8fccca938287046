#include "CompanyHome.h"

#include "data/Company.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace

QString CompanyHome::defaultFolder()
{
    return dataFolder() + u"/qaveq/company"_s;
}

QString CompanyHome::formerFolder()
{
    return dataFolder() + u"/company"_s;
}

QString CompanyHome::adoptFormer(const QString &folder, QString *message)
{
    message->clear();
    const QString former = formerFolder();
    if (folder != defaultFolder() || QFileInfo::exists(folder) || !data::Company::exists(former))
        return folder;
    const QString parent = QFileInfo(folder).absolutePath();
    if (QDir().mkpath(parent) && QDir().rename(former, folder)) {
        *message = u"The company in %1 was moved to %2, QAVEQ's own folder."_s.arg(former, folder);
        return folder;
    }
    *message = u"The company in %1 could not be moved to %2; it is opened where it is."_s.arg(
        former, folder);
    return former;
}

} // namespace qaveq::host
