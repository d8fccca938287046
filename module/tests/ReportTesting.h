#pragma once

// The report-testing helpers live with the module's other test support in
// testing/. This name is kept only for the analysis reports' test, which still
// includes it from here; it goes once that include names testing/ReportTesting.h.
#include "testing/ReportTesting.h"
