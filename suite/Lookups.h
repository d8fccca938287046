#pragma once

#include "runtime/forms/FormDefinition.h"
#include "runtime/forms/LookupPicker.h"

#include "core/SuiteDate.h"

#include <QList>
#include <QString>

#include <optional>

namespace qaveq {
struct JCHeader;
namespace data {
class Company;
class Session;
} // namespace data
} // namespace qaveq

// The sibling modules' procedures that the equipment module calls. Lookups
// keep the suite's convention: the caller sets the global request (select),
// puts the current value into the looked-up file's buffer, and reads the
// global response; on completed the chosen record stands in the buffer.
namespace qaveq::suite {

// The lists a form may open through its picker, by procedure name:
// BROWSEGLMASTER, BROWSEJCHEADER and the calendar EDITDATE.
forms::LookupPicker lookups(data::Session &session);

// QAVGL
void BROWSEGLFISCAL(); // the fiscal periods, to choose one
void BROWSEGLMASTER();
void UPDATEGLMASTER(); // the account form the account list calls
forms::FormDefinition accountForm();
// What names the account (G/L transactions, equipment...); empty when nothing does.
QStringList accountUsedBy(data::Company &company, const QString &account);

// QAVJC
void BROWSEJCHEADER();
void BROWSEJCCOST();      // the cost codes of the job in JOBFIELD
void LOOKUPCHANGEORDER(); // the change orders of the job in JOBFIELD; see below
void SELECTJOBBYNAME();   // a pick from the jobs FILLJOBSEARCHQ (Services.h) found

// QAVPR
void BROWSEPREMP();
void BROWSEPRCERT();

// QAVMISC
// The text-case store: "DEF", "CAP" or "UPR" + a field name keeps a choice,
// "000" + the field name answers the kept code ("DEF" when none).
QString GETCASE(const QString &request);
// The spreadsheet name of column `number`: 1 is "A", 26 "Z", 27 "AA".
QString GETCOLUMNNAME(int number);
// The calendar: the date in, the chosen date out; nullopt when cancelled.
std::optional<DayNumber> EDITDATE(DayNumber date);
// Maintains the drop-down list whose name stands in the DropList buffer.
void UPDATEDROPLIST();
// Opens the training video `name` from the company's "videos" folder with the
// desktop's player; says so when the company does not have it.
void PLAYTRAINING(const QString &name);
// Where the company keeps its training videos.
QString trainingFolder();
// Whether the company has the training video `name`: screens offer it only then.
bool trainingInstalled(const QString &name);

} // namespace qaveq::suite
