#pragma once

#include "runtime/forms/FormDefinition.h"

namespace qaveq {

class LogEntryMemory;

// UpdateEQLogB, "Update the EQLog File": one unposted usage log of the batch
// in the session's EQBatch buffer. Derives meter readings, units and charges
// from one another while the user edits, prices the use at the equipment's
// internal or rental rate, and checks the equipment, job, cost code, change
// order, account, cost category and employee against their files.
namespace LogEntryForm {

// The detail types a log is charged to, as stored.
inline const QString Job = QStringLiteral("Job");
inline const QString Account = QStringLiteral("G/L Account");
inline const QString Equipment = QStringLiteral("Equipment");
inline const QString Maintenance = QStringLiteral("Maintenance");

forms::FormDefinition definition(data::Session &session, LogEntryMemory &memory);

} // namespace LogEntryForm

} // namespace qaveq
