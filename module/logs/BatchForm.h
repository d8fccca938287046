#pragma once

#include "runtime/forms/FormDefinition.h"

namespace qaveq::BatchForm {

// UpdateEQBatch: a usage-log batch, its security and its repetition.
forms::FormDefinition definition();

} // namespace qaveq::BatchForm
