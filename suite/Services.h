#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qaveq {

class Prompter;
struct JCHeader;

namespace data {
class ErrorManager;
class Session;
class SuiteModule;
} // namespace data

// The sibling modules' services that need no window: posting, the backup
// before it, the image store, the user-defined test. Processes and reports
// without widgets call them, and so do the screens.
namespace suite {

// Where a sibling module's messages go, and the error manager it reports
// through: the ones it was initialised with, else the console and its own.
Prompter &prompterOf(data::SuiteModule &module);
data::ErrorManager &errorsOf(data::SuiteModule &module);
// The signed-on session when it has a company open; null otherwise.
data::Session *session();
// A message of the module with an information icon and an OK button.
void tell(data::SuiteModule &module, const QString &caption, const QString &text);

// QAVGL
// Posts the depreciation of the equipment in the EQHeader buffer up to the
// fiscal period in the GLFiscal buffer: one G/L entry per unposted month, the
// rows marked with the amount, period and transaction. Returns the months posted.
int CREATEDEPRECIATIONBATCH();

// QAVJC
// The jobs a typed text may mean: those whose ID begins with it, else those
// whose name holds it (in any letter case).
QList<JCHeader> FILLJOBSEARCHQ(const QString &text);

// QAVMISC
// The image store: attached files are copied into the company's "images"
// folder; the stored name is what the Images record keeps.
std::optional<QString> STOREIMAGEFILE(const QString &path);
bool EXTRACTIMAGEFILE(const QString &stored, const QString &target);
bool REMOVEIMAGEFILE(const QString &stored);
QString imageStoreFolder();
// Whether a user-defined value passes the user-defined limits of definition
// `limitId`: with no such limits every value does.
bool USERDEFTEST(quint32 limitId, const QString &value);
// A copy of the company's database before posting, in its "backups" folder.
std::optional<QString> PREPOSTBACKUP();
// The posting run: with POSTTYPE UsageLogs posts the tagged usage-log batches
// (TAGQUE) and sets POSTTYPE to Posted when they were posted.
void POSTINGCONTROL();

} // namespace suite

} // namespace qaveq
