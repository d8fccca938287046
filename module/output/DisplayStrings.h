#pragma once

#include <QString>

namespace qaveq {

// The texts of the report progress window and of the standard report
// messages. A site can reword any of them in the "DISPLAY STRINGS 2.0"
// section of its report settings file; a text it leaves out keeps its default.
struct DisplayStrings
{
    QString ProgWinTitlePrvw = QStringLiteral("Generating Report");
    QString ProgWinTitlePrnt = QStringLiteral("Printing Report");
    QString ProgWinPctText = QStringLiteral("% Completed");
    QString ProgWinRecText = QStringLiteral("Records Read");
    QString ProgWinUsrText;
    QString PrinterDlgTitle = QStringLiteral("Report Destination");
    QString AskPrvwDialogTitle = QStringLiteral("Preview");
    QString AskPrvwDialogText = QStringLiteral("Do you wish to PREVIEW this Report?");
    QString CancelAreYouSureTitle = QStringLiteral("Question");
    QString CancelAreYouSureText = QStringLiteral("Are you sure you want to CANCEL this Report?");
    QString CancelPrvwPartialTitle = QStringLiteral("Question");
    QString CancelPrvwPartialText =
        QStringLiteral("Report Cancellation Requested!||Preview Report generated so far?");
    QString NoDfltPrtrTitle = QStringLiteral("WARNING!");
    QString NoDfltPrtrText = QStringLiteral(
        "Warning:  No DEFAULT Printer Driver Found!||Printing may not occur correctly (or at "
        "all)|without a Default printer assigned.||Use CONTROL PANEL (PRINTERS) to set a|printer "
        "as your Default.||Continue with report anyway?");
    QString NothingToPrvwTitle = QStringLiteral("NOTE...");
    QString NothingToPrvwText = QStringLiteral("Nothing to Preview.");
    QString NothingToPrntTitle = QStringLiteral("NOTE...");
    QString NothingToPrntText = QStringLiteral("Nothing to Print.");
    QString AsciiOutTitle = QStringLiteral("Save to what Filename?");
    QString AsciiOutMasks = QStringLiteral("Text|*.TXT|All Files|*.*");
    QString DynLblErrTitle = QStringLiteral("Problem!");
    QString DynLblErrText1 = QStringLiteral("Sorry!||");
    QString DynLblErrText2 = QStringLiteral("||Does not support paper type:");
    QString ButtonYesNoCancel = QStringLiteral("&Yes|&No|&Cancel");
    QString ButtonYesNo = QStringLiteral("&Yes|&No");
    QString ButtonYes = QStringLiteral("&Yes");
    QString ButtonYesNoIgnore = QStringLiteral("&Yes|&No|&Ignore");
    QString ButtonOk = QStringLiteral("&Ok");

    // The strings of the settings file at `path` ("WIN.INI" in the folder
    // when no name is given), each missing one at its default.
    static DisplayStrings load(const QString &path);
};

} // namespace qaveq
