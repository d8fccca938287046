#include "Attachments.h"

#include "EquipmentRules.h"

#include "records/Images.h"

#include "suite/Services.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq::Attachments {

QString caption(const QString &setting, const QString &path, const QString &equipmentId,
                const QString &description)
{
    if (setting.trimmed().isEmpty() || setting.trimmed() == u"F")
        return QFileInfo(QString(path).replace(u'\\', u'/')).fileName();
    return u"Attachment for Equipment ("_s + Text::clip(equipmentId) + u") "_s +
           Text::clip(description);
}

QString captionSetting(const data::Session &session)
{
    return data::IniManager(QDir(session.suiteIniFolder()).filePath(u"TQSetup.ini"_s))
        .fetch(u"Korvalis Tessary"_s, u"AttachmentCaption"_s, u"F"_s)
        .toString();
}

int attach(data::Session &session, Prompter &prompter, const Clock &clock,
           const QString &equipmentId, const QString &description, const QStringList &paths)
{
    const QString setting = captionSetting(session);
    const int width = Images::fileSchema().field(u"Caption")->width;
    int attached = 0;
    for (const QString &path : paths) {
        const std::optional<QString> stored = suite::STOREIMAGEFILE(path);
        if (!stored) {
            prompter.ask(Message::alert(
                u"Attach"_s, u"%1 could not be copied into the image store."_s.arg(path)));
            continue;
        }
        Images attachment;
        attachment.Type = u"EQHeader"_s;
        attachment.StringID = Text::clip(equipmentId);
        attachment.Caption = Text::left(caption(setting, path, equipmentId, description), width);
        attachment.FileDate = SuiteDate::fromQDate(clock.today());
        attachment.ImageType = EquipmentRules::attachmentType(path);
        attachment.FileName = *stored;
        if (!session.company->file<Images>().insert(attachment)) {
            suite::REMOVEIMAGEFILE(*stored);
            prompter.ask(Message::alert(u"Attach"_s, u"Error Inserting Images"_s));
            continue;
        }
        ++attached;
    }
    return attached;
}

bool remove(data::Session &session, Prompter &prompter, const Images &attachment)
{
    if (prompter.ask(Message{u"Confirm Delete"_s,
                             u"Are you sure you want to delete the highlighted attachment?"_s,
                             u"&Yes|&No"_s, 2, Message::Icon::Question}) != 1)
        return false;
    Images record = attachment;
    if (const data::FileStatus status = session.company->file<Images>().remove(record); !status) {
        prompter.ask(
            Message::alert(u"Confirm Delete"_s, status.error().text() + u" Deleting Images"_s));
        return false;
    }
    // The record is gone first: a stored file without a record is only space.
    suite::REMOVEIMAGEFILE(Text::clip(attachment.FileName));
    return true;
}

QString extract(const Images &attachment)
{
    // A folder of the user's own, not the shared temporary folder, so that
    // nobody else can read the file or put another in its place.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           u"/qaveq/attachments"_s;
    if (!QDir().mkpath(folder))
        return {};
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString stored = Text::clip(attachment.FileName);
    const QString target = QDir(folder).filePath(stored);
    return suite::EXTRACTIMAGEFILE(stored, target) ? target : QString();
}

} // namespace qaveq::Attachments
