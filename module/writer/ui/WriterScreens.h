#pragma once

#include "output/OutputState.h"

#include <QString>

namespace qaveq {

namespace data {
class ErrorManager;
}

// The report-writer procedures in the windows: the report over the data in
// the progress window and the preview, or the designer.
namespace WriterScreens {

void run(const QString &procedure, data::ErrorManager &errors, OutputState &output);
// LISTEQREPORTS: the company's designed reports, each run or designed through
// its type's procedure.
void list(data::ErrorManager &errors, OutputState &output);

} // namespace WriterScreens

} // namespace qaveq
