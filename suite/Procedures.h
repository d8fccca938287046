#pragma once

#include "Services.h"

#include <QString>
#include <QStringList>

// The sibling modules' forms and viewers that the equipment module calls
// besides its lookups (their services without a window are in Services.h). Forms keep the suite's
// convention: the request in GLOBALREQUEST, the record in the file's buffer, the answer in
// GLOBALRESPONSE.
namespace qaveq::suite {

// QAVGL
void UPDATEGLDEPR(); // one depreciation row of the equipment in the buffer

// QAVMISC
void UPDATENOTES();  // a note of the owner in the Notes buffer (EntityID, EntityType)
void UPDATEIMAGES(); // an attachment of the owner in the Images buffer (Type, StringID)
// The members of a "List" selection of saved definition `limitId`, by kind.
void UPDATELIMLIST(quint32 limitId, const QString &kind);
void BROWSELIMLISTUD(quint32 limitId);
// Writes a report's export lines to a text file the user picks, offered under
// the report's title, and says where it went.
bool REPORTEXPORT(const QStringList &lines, const QString &title = {});
void OVBROWSEGLJOURNAL(); // the G/L lines of the journal in the GLTrans buffer
void OVVIEWEQHEADER();    // the equipment record in the EQHeader buffer, read only
void OVVIEWTRANSACTION(); // the G/L line in the GLTrans buffer, read only
void PDFOPTIONS();        // the user's PDF settings

} // namespace qaveq::suite
