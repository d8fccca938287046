#include "EquipmentFilter.h"

#include "data/IniManager.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString Section = u"Korvalis Tessary"_s;
const QString Key = u"EquipmentBrowse"_s;

QString iniFile(const QString &folder)
{
    return QDir(folder).filePath(u"Tessary.ini"_s);
}

} // namespace

EquipmentFilter EquipmentFilter::load(const QString &iniFolder)
{
    const QString value =
        data::IniManager(iniFile(iniFolder)).fetch(Section, Key).toString().trimmed();
    // Each flag is off only when its own character says "0": a short or
    // missing value leaves the rest of the equipment in view.
    EquipmentFilter filter;
    filter.showActive = !value.startsWith(u'0');
    filter.showInactive = value.size() < 2 || value[1] != u'0';
    return filter;
}

QString EquipmentFilter::stored() const
{
    return QString(showActive ? u'1' : u'0') + QString(showInactive ? u'1' : u'0');
}

bool EquipmentFilter::save(const QString &iniFolder) const
{
    QDir().mkpath(iniFolder);
    return data::IniManager(iniFile(iniFolder)).update(Section, Key, stored());
}

QList<data::Filter> EquipmentFilter::filters(const QString &prefix) const
{
    const QString active = prefix + u":Active"_s;
    if (showActive && showInactive)
        return {};
    if (showActive)
        return {{active, data::Filter::Op::Equal, qint64(1)}};
    if (showInactive)
        return {{active, data::Filter::Op::Equal, qint64(0)}};
    // Neither: no record is both, so the list is empty.
    return {{active, data::Filter::Op::Equal, qint64(1)},
            {active, data::Filter::Op::Equal, qint64(0)}};
}

} // namespace qaveq
