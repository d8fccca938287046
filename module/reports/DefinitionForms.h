#pragma once

#include "ReportDefinitions.h"
#include "ReportFamily.h"

#include "runtime/forms/FormDefinition.h"

namespace qaveq::DefinitionForms {

// The form of a saved report definition of one family (UpdateEQAnalysisLimits
// and its kin, UpdateEQProofLimits): only the fields the family uses, the
// selection groups that enable their entries, the owner's lock, "Load
// Defaults", and "Save and Print" / "Save and View" through `print`.
forms::FormDefinition definition(ReportFamily family, ReportDefinitions::Caller print);

// The picker names of the list editors the form's buttons open; the current
// text handed to the picker is the definition's number.
QString listEditor(const QString &kind); // "UPDATELIMLIST EquipmentID"
inline const QString UserDefinedEditor = QStringLiteral("BROWSELIMLISTUD");

} // namespace qaveq::DefinitionForms
