#pragma once

// The charge-code rules belong to the features' shared rules in common/. This
// name is kept only for the usage-log import, which still includes it from
// here; it goes once that include names common/ChargeCodes.h.
#include "common/ChargeCodes.h"
