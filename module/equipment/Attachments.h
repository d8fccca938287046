#pragma once

#include <QString>
#include <QStringList>

namespace qaveq {

class Clock;
class Prompter;
struct Images;

namespace data {
class Session;
}

// The files attached to an equipment: Images records of type "EQHeader" whose
// files the company's image store keeps (each under a name of its own, so two
// files of the same name never overwrite each other).
namespace Attachments {

// How a new attachment is captioned: by the setting AttachmentCaption of
// TQSetup.ini ("F", the default: the file's name; anything else: "Attachment
// for Equipment (ID) description").
QString caption(const QString &setting, const QString &path, const QString &equipmentId,
                const QString &description);
// The workstation's AttachmentCaption setting.
QString captionSetting(const data::Session &session);

// Attaches the files to the equipment: each copied into the store and
// recorded with its caption, date and kind. Returns how many were attached;
// a file that cannot be stored or recorded is said and skipped.
int attach(data::Session &session, Prompter &prompter, const Clock &clock,
           const QString &equipmentId, const QString &description, const QStringList &paths);

// Removes an attachment, its stored file and its record, after "Confirm
// Delete"; false when the user declined or it could not be removed.
bool remove(data::Session &session, Prompter &prompter, const Images &attachment);

// Where the attachment's file can be read: copied out of the store into the
// user's own cache folder; empty when it is gone.
QString extract(const Images &attachment);

} // namespace Attachments

} // namespace qaveq
