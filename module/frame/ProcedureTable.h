#pragma once

#include <QList>
#include <QString>

namespace qaveq {

struct ProcedureInfo
{
    QString name; // as exported: "QAVEQ:INIT", "BROWSEEQHEADER"
    QString what; // what it is, for menus and the procedure list
};

// The module's exports in table order: the two entry operations, then the 37
// procedures.
const QList<ProcedureInfo> &procedureTable();

// The C symbol of an export (":" cannot stand in a symbol): "QAVEQ:INIT" is
// "QAVEQ_INIT", a procedure's symbol is its name.
QString symbolOf(const QString &name);

} // namespace qaveq
