#pragma once

#include "data/KeyCursor.h"

#include <QList>
#include <QString>

namespace qaveq {

// The equipment lists' two check boxes, "Show Active Equipment" and "Show
// Inactive Equipment", and the workstation's memory of them: Tessary.ini,
// section "Korvalis Tessary", key EquipmentBrowse, two characters "1"/"0"
// (active first). A missing value shows everything.
struct EquipmentFilter
{
    bool showActive = true;
    bool showInactive = true;

    // The choice kept in the INI folder `iniFolder` (Session::suiteIniFolder()).
    static EquipmentFilter load(const QString &iniFolder);
    // Keeps the choice for the next list; false when the INI file cannot be written.
    bool save(const QString &iniFolder) const;
    QString stored() const; // "10"

    // The conditions of the list over file prefix `prefix` ("EQH", "EQH1"):
    // none when both are on, an empty list when both are off.
    QList<data::Filter> filters(const QString &prefix = QStringLiteral("EQH")) const;
    bool shows(bool active) const { return active ? showActive : showInactive; }
};

} // namespace qaveq
