#include "runtime/StandardWarnings.h"

#include "data/ErrorManager.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

struct Expected
{
    int number;
    const char16_t *caption;
    const char16_t *text;
    const char16_t *buttons;
    int defaultButton;
    Message::Icon icon;
};

constexpr auto I = Message::Icon::Information;
constexpr auto X = Message::Icon::Exclamation;

// Every warning with the texts "T1" and "T2", the cause "CAUSE" and error code 35.
const Expected Warnings[] = {
    {1, u"Invalid File", u"Error: (CAUSE) accessing T1.  Press OK to end this application.", u"&OK",
     1, I},
    {2, u"Invalid Key", u"T1 key file is invalid.  Do you want to rebuild the key?", u"&Yes|&No", 1,
     X},
    {3, u"Key Rebuild Error",
     u"Error: (CAUSE) repairing key for T1.  Press OK to end this application.", u"&OK", 1, I},
    {4, u"File Creation Error", u"Error: (CAUSE) creating T1.  Press OK to end this application.",
     u"&OK", 1, I},
    {5, u"File Creation Error",
     u"Error: (CAUSE) opening created file:T1.  Press OK to end this application.", u"&OK", 1, I},
    {6, u"Procedure not defined", u"The Procedure T1 has not been defined.", u"&OK", 1, I},
    {7, u"Record Retrieval Error", u"Unable to read keyed record.  Error: CAUSE.  Insert Aborted",
     u"&OK", 1, I},
    {8, u"Range Error", u"The value of T1 must be lower than T2.", u"&OK", 1, I},
    {9, u"Range Error", u"The value of T1 must be higher than T2.", u"&OK", 1, I},
    {10, u"Range Error", u"The value of T1 must be between T2.", u"&OK", 1, I},
    {11, u"Field Contents Error", u"The value for T1 must be found in the T2 file.", u"&OK", 1, I},
    {12, u"Referential Integrity Update Error",
     u"This record is referenced from the file T1.  Linking field(s) have been restricted from "
     u"change "
     u"and have been reset to original values.",
     u"&OK", 1, I},
    {13, u"Referential Integrity Delete Error",
     u"This record is referenced from the file T1.  This record cannot be deleted while these "
     u"references exist.",
     u"&OK", 1, I},
    {14, u"Record Insert Error",
     u"An error was experienced during the update of record.  Error: CAUSE.", u"&OK", 1, I},
    {15, u"Update Operation Error",
     u"An error (CAUSE) was experienced when attempting to update a record from the file.  "
     u"Probable "
     u"Cause: T1.",
     u"&OK", 1, I},
    {16, u"Record Update Error",
     u"An error was experienced changing this record.  Do you want to try to save again?",
     u"&Yes|&No|&Cancel", 3, I},
    {17, u"Delete Operation Error",
     u"An error (CAUSE) was experienced when attempting to delete a record from the file T1.",
     u"&OK", 1, I},
    {18, u"Record Update Error",
     u"An error was experienced deleting this record.  Do you want to try to save again?",
     u"&Yes|&No|&Cancel", 3, I},
    {19, u"Invalid Request",
     u"This procedure was called to insert a record, however inserts are not allowed for this "
     u"procedure.  Press OK to return to the calling procedure",
     u"&OK", 1, I},
    {20, u"Invalid Request",
     u"This procedure was called to change a record, however changes are not allowed for this "
     u"procedure.  Press OK to return to the calling procedure",
     u"&OK", 1, I},
    {21, u"Invalid Request",
     u"This procedure was called to delete a record, however deletions are not allowed for this "
     u"procedure.  Press OK to return to the calling procedure",
     u"&OK", 1, I},
    {22, u"File Creation Not Allowed",
     u"The File T1was not found, and creation of the file is not allowed.  Press OK to end this "
     u"application.",
     u"&OK", 1, I},
    {23, u"Update Cancelled", u"Are you sure you want to cancel?", u"&Yes|&No", 2, X},
    {24, u"Duplicate Key Error", u"Adding this record creates a duplicate entry for the key:T1",
     u"&OK", 1, I},
    {25, u"Auto Increment Error",
     u"Attempts to automatically number this record have failed.  Error: CAUSE.", u"&Retry|&Cancel",
     2, I},
    {26, u"File Load Error", u"T1 File Load Error.  Error: CAUSE.", u"&OK", 1, I},
    {27, u"Cancel Request", u"Are you certain you want to stop loading T1?", u"&OK|&Cancel", 2, X},
    {28, u"File Load Error", u"T1 File Load Error.  The file you've requested contains no text.",
     u"&OK", 1, I},
    {29, u"End of File Error",
     u"The end of the viewed file was encountered.  Do you want to start again from the beginning?",
     u"&Yes|&No", 1, X},
    {30, u"File Access Error", u"File (T1) could not be opened.  Error: CAUSE.", u"&OK", 1, I},
    {31, u"Process DELETE Error",
     u"An error was experienced when deleting a record from the T2 file.  Error: CAUSE", u"&OK", 1,
     I},
    {32, u"Confirm Delete",
     u"You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     u"record.",
     u"&OK|&Cancel", 2, X},
    {33, u"Update Cancelled", u"Do you want to save the changes to this record?",
     u"&Yes|&No|&Cancel", 2, X},
    {34, u"Transaction Framing Error",
     u"Error: (CAUSE) attempting to frame the t1 transaction on T2.  T1 transaction cancelled.",
     u"&OK", 1, I},
    {35, u"Record Retrieval Error",
     u"Error: (CAUSE) attempting to access a record from the T1 file.  Returning to previous "
     u"window.",
     u"&OK", 1, I},
    {36, u"View Open Error",
     u"Error: (CAUSE) attempting to open the current VIEW. Filter and Range Limits ignored.",
     u"&OK", 1, I},
    {37, u"Record Added",
     u"This record has been added to the file. Do you want to add another record?", u"&Yes|&No", 1,
     X},
    {38, u"Record Was Not Updated",
     u"This record was changed by another station. Those changes will now be displayed. Use the "
     u"Ditto "
     u"Button or Ctrl+' to recall your changes.",
     u"&OK", 1, I},
};

TEST(StandardWarnings, EveryWarningsCaptionTextAndButtons)
{
    for (const Expected &e : Warnings) {
        SCOPED_TRACE(e.number);
        const auto warning =
            StandardWarnings::describe(e.number, u"T1   "_s, u"T2"_s, u"CAUSE"_s, 35);
        ASSERT_TRUE(warning.has_value());
        EXPECT_EQ(warning->message.caption, QString::fromUtf16(e.caption));
        EXPECT_EQ(warning->message.text, QString::fromUtf16(e.text));
        EXPECT_EQ(warning->message.buttons, QString::fromUtf16(e.buttons));
        EXPECT_EQ(warning->message.defaultButton, e.defaultButton);
        EXPECT_EQ(warning->message.icon, e.icon);
    }
    EXPECT_FALSE(StandardWarnings::describe(0, {}, {}, {}, 0).has_value());
    EXPECT_FALSE(StandardWarnings::describe(39, {}, {}, {}, 0).has_value());
}

TEST(StandardWarnings, AlternativeCaptionsAndTexts)
{
    const auto down = StandardWarnings::describe(29, u"Down"_s, {}, {}, 0);
    EXPECT_EQ(down->message.caption, u"Beginning of File Error");
    EXPECT_EQ(down->message.text,
              u"The beginning of the viewed file was encountered.  Do you want to start "
              u"again from the end of the file?");
    const auto put = StandardWarnings::describe(31, u"Put"_s, u"EQCost"_s, u"CAUSE"_s, 35);
    EXPECT_EQ(put->message.caption, u"Process PUT Error");
    EXPECT_EQ(put->message.text,
              u"An error was experienced when making changes to the EQCost file.  "
              u"Error: CAUSE");
    for (int code : {0, 89})
        EXPECT_EQ(StandardWarnings::describe(15, u"T1"_s, {}, u"CAUSE"_s, code)->message.text,
                  u"This record was changed by another station.");
}

class WarningRoutine : public ::testing::Test
{
protected:
    ScriptedPrompter prompter;
    data::ErrorManager errors{u"host"_s, &prompter};
    StandardWarnings warnings{errors};
};

TEST_F(WarningRoutine, TheEndingWarningsStopTheApplication)
{
    const std::pair<int, const char16_t *> ending[] = {{1, u"Invalid File!"},
                                                       {3, u"Error Rebuilding Key!"},
                                                       {4, u"File Creation Error!"},
                                                       {5, u"File Creation Error!"},
                                                       {22, u"File Creation Error!"}};
    QStringList halts;
    errors.setHaltHandler([&halts](const QString &text) { halts.append(text); });
    for (const auto &[number, text] : ending) {
        EXPECT_EQ(warnings.show(number, u"EQHeader"_s), 0);
        EXPECT_EQ(halts.last(), QString::fromUtf16(text));
    }
    EXPECT_EQ(warnings.show(6, u"BROWSEEQLOG"_s), 1);
    EXPECT_EQ(halts.size(), 5);

    prompter.answerNext(1);
    EXPECT_EQ(warnings.show(2, u"EQHeader"_s), 2) << "Yes rebuilds the key";
    EXPECT_EQ(halts.size(), 5);
    prompter.answerNext(2);
    EXPECT_EQ(warnings.show(2, u"EQHeader"_s), 0);
    EXPECT_EQ(halts.last(), u"Invalid Key!");
}

TEST_F(WarningRoutine, TheCauseIsThePendingErrorElseTheCurrentOne)
{
    errors.setCurrentErrorSource(
        [] { return data::FileError::make(data::FileErrorCode::RecordNotFound, u"EQCode"_s); });
    errors.savePending(data::FileError::driver(u"disk I/O error"_s, u"10"_s, u"EQCost"_s));
    errors.savePending(data::FileError::make(data::FileErrorCode::DuplicateKey, u"EQCost"_s));
    warnings.show(14);
    EXPECT_EQ(
        prompter.shown().last().text,
        u"An error was experienced during the update of record.  Error: disk I/O error (10).");
    EXPECT_FALSE(errors.hasPending()) << "both slots are cleared after use";
    warnings.show(14);
    EXPECT_EQ(
        prompter.shown().last().text,
        u"An error was experienced during the update of record.  Error: Record Not Found (35).");

    errors.savePending(data::FileError::make(data::FileErrorCode::DuplicateKey, u"EQCost"_s));
    warnings.show(30, u"EQCost"_s);
    EXPECT_EQ(prompter.shown().last().text,
              u"File (EQCost) could not be opened.  Error: Creates Duplicate Key (40).");

    errors.savePending(data::FileError::make(data::FileErrorCode::RecordChanged, u"EQCost"_s));
    warnings.show(15, u"locked"_s);
    EXPECT_EQ(prompter.shown().last().text, u"This record was changed by another station.");
}

} // namespace
