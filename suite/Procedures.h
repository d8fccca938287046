#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The sibling modules' forms, viewers and services that the equipment module
// calls besides its lookups. Forms keep the suite's convention: the request in
// GLOBALREQUEST, the record in the file's buffer, the answer in GLOBALRESPONSE.
namespace qaveq::suite {

// QAVGL
void UPDATEGLDEPR(); // one depreciation row of the equipment in the buffer
// Posts the depreciation of the equipment in the EQHeader buffer up to the
// fiscal period in the GLFiscal buffer: one G/L entry per unposted month, the
// rows marked with the amount, period and transaction. Returns the months posted.
int CREATEDEPRECIATIONBATCH();

// QAVMISC
void UPDATENOTES();  // a note of the owner in the Notes buffer (EntityID, EntityType)
void UPDATEIMAGES(); // an attachment of the owner in the Images buffer (Type, StringID)
// The image store: attached files are copied into the company's "images"
// folder; the stored name is what the Images record keeps.
std::optional<QString> STOREIMAGEFILE(const QString &path);
bool EXTRACTIMAGEFILE(const QString &stored, const QString &target);
bool REMOVEIMAGEFILE(const QString &stored);
QString imageStoreFolder();
// The members of a "List" selection of saved definition `limitId`, by kind.
void UPDATELIMLIST(quint32 limitId, const QString &kind);
void BROWSELIMLISTUD(quint32 limitId);
// Whether a user-defined value passes the user-defined limits of definition
// `limitId`: with no such limits every value does.
bool USERDEFTEST(quint32 limitId, const QString &value);
// Writes a report's export lines to a text file the user picks, offered under
// the report's title, and says where it went.
bool REPORTEXPORT(const QStringList &lines, const QString &title = {});
// A copy of the company's database before posting, in its "backups" folder.
std::optional<QString> PREPOSTBACKUP();
void POSTINGCONTROL();
void OVBROWSEGLJOURNAL(); // the G/L lines of the journal in the GLTrans buffer
void OVVIEWEQHEADER();    // the equipment record in the EQHeader buffer, read only
void OVVIEWTRANSACTION(); // the G/L line in the GLTrans buffer, read only
void PDFOPTIONS();        // the user's PDF settings
void LIMITPRINTNOTES();

} // namespace qaveq::suite
