#pragma once

#include "common/ui/ScreenRunner.h"

namespace qaveq::EquipmentLookups {

// The equipment feature's lists that the module's forms open: the equipment
// (whose Add and Change call the equipment form through `caller`), the
// equipment's cost categories, the cost categories, and the choice of a
// photograph file.
void add(forms::LookupPicker &picker, data::Session &session, data::ErrorManager &errors,
         const ScreenRunner::Caller &caller);

} // namespace qaveq::EquipmentLookups
