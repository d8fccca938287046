#include "DisplayStrings.h"

#include "data/IniManager.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

struct Entry
{
    const char16_t *key;
    QString DisplayStrings::*text;
};

using S = DisplayStrings;
const Entry Entries[] = {
    {u"ProgWinTitlePrvw", &S::ProgWinTitlePrvw},
    {u"ProgWinTitlePrnt", &S::ProgWinTitlePrnt},
    {u"ProgWinPctText", &S::ProgWinPctText},
    {u"ProgWinRecText", &S::ProgWinRecText},
    {u"ProgWinUsrText", &S::ProgWinUsrText},
    {u"PrinterDlgTitle", &S::PrinterDlgTitle},
    {u"AskPrvwDialogTitle", &S::AskPrvwDialogTitle},
    {u"AskPrvwDialogText", &S::AskPrvwDialogText},
    {u"CancelAreYouSureTitle", &S::CancelAreYouSureTitle},
    {u"CancelAreYouSureText", &S::CancelAreYouSureText},
    {u"CancelPrvwPartialTitle", &S::CancelPrvwPartialTitle},
    {u"CancelPrvwPartialText", &S::CancelPrvwPartialText},
    {u"NoDfltPrtrTitle", &S::NoDfltPrtrTitle},
    {u"NoDfltPrtrText", &S::NoDfltPrtrText},
    {u"NothingToPrvwTitle", &S::NothingToPrvwTitle},
    {u"NothingToPrvwText", &S::NothingToPrvwText},
    {u"NothingToPrntTitle", &S::NothingToPrntTitle},
    {u"NothingToPrntText", &S::NothingToPrntText},
    {u"AsciiOutTitle", &S::AsciiOutTitle},
    {u"AsciiOutMasks", &S::AsciiOutMasks},
    {u"DynLblErrTitle", &S::DynLblErrTitle},
    {u"DynLblErrText1", &S::DynLblErrText1},
    {u"DynLblErrText2", &S::DynLblErrText2},
    {u"ButtonYesNoCancel", &S::ButtonYesNoCancel},
    {u"ButtonYesNo", &S::ButtonYesNo},
    {u"ButtonYes", &S::ButtonYes},
    {u"ButtonYesNoIgnore", &S::ButtonYesNoIgnore},
    {u"ButtonOk", &S::ButtonOk},
};

} // namespace

DisplayStrings DisplayStrings::load(const QString &path)
{
    DisplayStrings strings;
    const QFileInfo info(path);
    const QString file = info.isDir() ? info.absoluteFilePath() + u"/WIN.INI"_s : path;
    if (!QFileInfo::exists(file))
        return strings;
    const data::IniManager settings(file);
    const QString section = u"DISPLAY STRINGS 2.0"_s;
    for (const Entry &entry : Entries) {
        const QString key = QString::fromUtf16(entry.key);
        if (settings.contains(section, key))
            strings.*entry.text = settings.fetch(section, key).toString();
    }
    return strings;
}

} // namespace qaveq
