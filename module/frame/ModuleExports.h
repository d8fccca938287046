#pragma once

// The C interface of the loadable module (libqaveq): what the host resolves
// after loading it.

namespace qaveq::data {
class ErrorManager;
class IniManager;
} // namespace qaveq::data

extern "C" {

// One row of the exported table: the export's name ("QAVEQ:INIT",
// "BROWSEEQHEADER"), what it is, its C symbol, for a procedure its entry, and
// whether its screen is built yet (a procedure still to come only says so).
struct QaveqExport
{
    const char *name;
    const char *what;
    const char *symbol;
    void (*procedure)();
    int built;
};

using QaveqExportsFunction = const QaveqExport *(*)(int *count);
using QaveqInitFunction = void (*)(qaveq::data::ErrorManager *errors, qaveq::data::IniManager *ini);
using QaveqKillFunction = void (*)();
}
