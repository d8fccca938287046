#pragma once

#include "runtime/forms/FormDefinition.h"

namespace qaveq {
struct EQCost;
}

namespace qaveq::forms {
class FormModel;
}

namespace qaveq::CostCategoryForms {

// The schedule type and its four fields in the file with that prefix ("EQD",
// "EQC"): the same names in both, the fields shown by the type.
forms::Group scheduleGroup(const QString &prefix);

// The schedule type as the form opens it: a letter other than M, E or B is none ("N").
void normalizeSchedule(forms::FormModel &form);

// UPDATEEQCODE: a cost category with its defaults.
forms::FormDefinition category();

// UPDATEEQCOST: one cost category of the equipment in EQUIPFIELD.
forms::FormDefinition equipmentCost();

// The user-activity area and text of an equipment cost category, after the
// verb ("Added ", "Changed "): the form and Apply to All write the same entry.
extern const QString EquipmentSetupArea;
QString equipmentCostActivity(const EQCost &cost);

} // namespace qaveq::CostCategoryForms
