#pragma once

// The C interface of the loadable module (libqaveq): what the host resolves
// after loading it.

namespace qaveq::data {
class ErrorManager;
class IniManager;
} // namespace qaveq::data

extern "C" {

// One row of the exported table: the export's name ("QAVEQ:INIT",
// "BROWSEEQHEADER"), what it is, its C symbol, and for a procedure its entry.
struct QaveqExport
{
    const char *name;
    const char *what;
    const char *symbol;
    void (*procedure)();
};

using QaveqExportsFunction = const QaveqExport *(*)(int *count);
using QaveqInitFunction = void (*)(qaveq::data::ErrorManager *errors, qaveq::data::IniManager *ini);
using QaveqKillFunction = void (*)();
}
