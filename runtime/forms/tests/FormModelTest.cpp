#include "runtime/forms/FormModel.h"

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"

#include "data/Catalog.h"
#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/SuiteDate.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using forms::FormModel;

namespace {

// A G/L transaction form with everything the model offers: a code checked
// against the accounts, a derived amount from two values of the form's own,
// a shown-when rule and a check of its own.
class FormModelTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), data::Catalog::suite()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    ScriptedPicker picker;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 30))};
    QList<int> warnings;
    bool readOnly = false;

    FormModelTest()
    {
        session.userId = u"ADM"_s;
        for (const auto &[number, description] :
             {std::pair{u"6100"_s, u"Fuel"_s}, std::pair{u"6200"_s, u"Repairs"_s}}) {
            GLMaster account;
            account.Account = number;
            account.Description = description;
            EXPECT_TRUE(company.file<GLMaster>().insert(account).isOk());
        }
    }

    forms::FormDefinition definition()
    {
        using forms::Control;
        forms::CodeCheck account{
            .file = u"GLMaster"_s, .key = u"KeyAccount"_s, .lookup = u"BROWSEGLMASTER"_s};
        account.accepted = [](FormModel &form, const data::Record &found) {
            form.setValue(u"Description", static_cast<const GLMaster &>(found).Description);
        };
        forms::FormDefinition form{
            .file = u"GLTrans"_s,
            .insertCaption = u"Adding a Transaction"_s,
            .changeCaption = u"Changing a Transaction"_s,
            .deleteCaption = u"Deleting a Transaction"_s,
            .pages = {{.title = u"Transaction"_s,
                       .groups = {{.rows = forms::column({
                                       {.prompt = u"Journal"_s,
                                        .field = u"GLT:JournalID"_s,
                                        .picture = u"@s3"_s},
                                       {.prompt = u"Number"_s,
                                        .field = u"GLT:JournalNo"_s,
                                        .picture = u"@n_7"_s,
                                        .minimum = Decimal(1),
                                        .maximum = Decimal(9999)},
                                       {.prompt = u"Date"_s,
                                        .field = u"GLT:TransDate"_s,
                                        .picture = u"@d2"_s},
                                       {.prompt = u"Account"_s,
                                        .field = u"GLT:Account"_s,
                                        .picture = u"@s12"_s,
                                        .required = true,
                                        .code = account},
                                       {.prompt = u"Units"_s,
                                        .field = u"LOC:Units"_s,
                                        .picture = u"@n-12.2"_s},
                                       {.prompt = u"Rate"_s,
                                        .field = u"LOC:Rate"_s,
                                        .picture = u"@n-12.2"_s},
                                       {.prompt = u"Amount"_s,
                                        .field = u"GLT:Amount"_s,
                                        .picture = u"@n-15.2"_s,
                                        .check =
                                            [](const FormModel &form) {
                                                return std::get<Decimal>(form.value(u"Amount"))
                                                               .isNegative()
                                                           ? u"The amount cannot be negative."_s
                                                           : QString();
                                            }},
                                       {.prompt = u"Job"_s,
                                        .field = u"GLT:JobID"_s,
                                        .picture = u"@s10"_s,
                                        .required = true,
                                        .shownWhen =
                                            [](const FormModel &form) {
                                                return form.code(u"CreditDebit") == u"D";
                                            }},
                                       {.prompt = u"Description"_s,
                                        .field = u"GLT:Description"_s,
                                        .picture = u"@s60"_s},
                                   })}}}},
            .values = {{.name = u"LOC:Units"_s,
                        .type = data::FieldType::Decimal,
                        .digits = 12,
                        .places = 2},
                       {.name = u"LOC:Rate"_s,
                        .type = data::FieldType::Decimal,
                        .digits = 12,
                        .places = 2}},
            .derived = {{.from = {u"LOC:Units"_s, u"LOC:Rate"_s},
                         .to = u"GLT:Amount"_s,
                         .compute =
                             [](const FormModel &form) {
                                 return data::FieldValue(std::get<Decimal>(form.value(u"LOC:Units")) *
                                                         std::get<Decimal>(form.value(u"LOC:Rate")));
                             }}},
            .refuse = [this](data::Session &, Prompter &ask, data::Request) {
                if (readOnly)
                    ask.ask(Message{u"Insufficient Access"_s, u"read only"_s});
                return readOnly;
            },
            .activity = forms::Activity{u"GL Setup"_s, [](const data::Record &record) {
                                            return u"transaction "_s +
                                                   static_cast<const GLTrans &>(record).Account;
                                        }},
        };
        return form;
    }

    std::unique_ptr<FormModel> open(data::Request request)
    {
        session.globalRequest = request;
        return std::make_unique<FormModel>(
            definition(), FormModel::Services{session, prompter, picker, clock,
                                              [this](int number, const QString &, const QString &) {
                                                  warnings.append(number);
                                                  return 1;
                                              }});
    }

    GLTrans storedTransaction()
    {
        GLTrans stored;
        stored.JournalID = u"EQ"_s;
        stored.JournalNo = 7;
        stored.Account = u"6100"_s;
        stored.Description = u"My own words"_s;
        EXPECT_TRUE(company.file<GLTrans>().insert(stored).isOk());
        session.buffer<GLTrans>() = stored;
        return stored;
    }

    QList<UserLog> activity()
    {
        QList<UserLog> entries;
        data::KeyCursor cursor = company.file<UserLog>().scan(u"KeyRecordID");
        UserLog entry;
        while (cursor.next(entry))
            entries.append(entry);
        return entries;
    }
};

TEST_F(FormModelTest, TypedTextIsReadByTheFieldsTypeAndWhatCannotBeHeldIsRefused)
{
    auto form = open(data::Request::Insert);
    struct Case
    {
        const char16_t *field;
        const char16_t *typed;
        const char16_t *shown; // nullptr: refused, the value unchanged
    };
    const Case cases[] = {
        {u"Amount", u"1,234.5", u"1234.50"},
        {u"Amount", u"12.345", nullptr}, // never rounded unseen
        {u"Amount", u"12.340", u"12.34"},
        {u"Amount", u"abc", nullptr},
        {u"Amount", u"1e308", nullptr},
        {u"Amount", u"1234567890123456789012345678901234567890", nullptr},
        {u"Amount", u"99999999999999", nullptr},
        {u"Amount", u"", u""},
        {u"TransDate", u"3/31/25", u"3/31/2025"},
        {u"TransDate", u"12-1-2025", u"12/01/2025"},
        {u"TransDate", u"2/30/2025", nullptr},
        {u"TransDate", u"someday", nullptr},
        {u"JournalNo", u"12", u"12"},
        {u"JournalNo", u"twelve", nullptr},
        {u"JournalNo", u"99999999999", nullptr},
        {u"JournalID", u"ABCDEF", u"ABC"},
    };
    for (const Case &row : cases) {
        const QString field = QString::fromUtf16(row.field);
        const std::string where = (field + u' ' + QString::fromUtf16(row.typed)).toStdString();
        const QString before = form->text(field);
        const int messages = static_cast<int>(prompter.texts().size());
        const FormModel::Outcome outcome = form->edit(field, QString::fromUtf16(row.typed));
        if (row.shown) {
            EXPECT_FALSE(outcome) << where;
            EXPECT_EQ(form->text(field), QString::fromUtf16(row.shown)) << where;
        } else {
            ASSERT_TRUE(outcome) << where;
            EXPECT_EQ(outcome->field, u"GLT:"_s + field);
            EXPECT_EQ(form->text(field), before) << "a refused entry leaves the value: " << where;
            EXPECT_EQ(prompter.texts().size(), messages + 1) << "and says why: " << where;
        }
    }
    // A word is no number; too many digits are too many.
    form->edit(u"Amount", u"abc"_s);
    EXPECT_EQ(prompter.texts().last(), u"Amount must be a number, such as 1250.55.");
    form->edit(u"Amount", u"1234567890123456789012345678901234567890"_s);
    EXPECT_TRUE(prompter.texts().last().endsWith(u"digits before the point."_s))
        << prompter.texts().last().toStdString();
    form->edit(u"Amount", u"0.001"_s);
    EXPECT_EQ(prompter.texts().last(), u"Amount takes at most 2 places after the point.");
}

TEST_F(FormModelTest, OkChecksEveryShownControlInOrder)
{
    auto form = open(data::Request::Insert);
    EXPECT_FALSE(form->edit(u"Account", u""_s)) << "leaving an empty required entry is allowed";
    ASSERT_TRUE(form->checkAll());
    EXPECT_EQ(form->checkAll()->field, u"GLT:Account") << "OK is not";

    ASSERT_FALSE(form->edit(u"Account", u"6100"_s));
    EXPECT_FALSE(form->edit(u"JournalNo", u"0"_s)) << "blank numbers are not range-checked";
    ASSERT_TRUE(form->edit(u"JournalNo", u"12000"_s)) << "out of range when left";
    EXPECT_EQ(warnings, QList<int>{10});
    warnings.clear();
    ASSERT_TRUE(form->checkAll());
    EXPECT_EQ(form->checkAll()->field, u"GLT:JournalNo") << "and again on OK";
    EXPECT_EQ(warnings, (QList<int>{10, 10}));

    ASSERT_FALSE(form->edit(u"JournalNo", u"12"_s));
    EXPECT_TRUE(form->edit(u"Amount", u"-5"_s)) << "the screen's own check when left";
    ASSERT_TRUE(form->checkAll());
    EXPECT_EQ(form->checkAll()->field, u"GLT:Amount") << "the screen's own check";
    ASSERT_FALSE(form->edit(u"Amount", u"5"_s));

    EXPECT_FALSE(form->checkAll()) << "the hidden job is not required";
    form->setValue(u"CreditDebit", u"D"_s);
    ASSERT_TRUE(form->checkAll());
    EXPECT_EQ(form->checkAll()->field, u"GLT:JobID") << "shown, it is";
}

TEST_F(FormModelTest, AnUnknownCodeOpensItsListAndTheChoiceCountsAsTyped)
{
    auto form = open(data::Request::Insert);
    picker.answerNext(u"6200"_s);
    QString reason;
    picker.whileOpen = [&] { reason = session.lookupReason; };
    EXPECT_FALSE(form->edit(u"Account", u"9999"_s));
    EXPECT_EQ(picker.asked(), QStringList{u"BROWSEGLMASTER:9999"_s});
    EXPECT_EQ(reason, u"Account 9999 is not on file.") << "the list says why it opened";
    EXPECT_TRUE(session.lookupReason.isEmpty()) << "and only that once";
    EXPECT_EQ(form->code(u"Account"), u"6200");
    EXPECT_EQ(form->code(u"Description"), u"Repairs") << "the choice brings its defaults";

    picker.answerNext(std::nullopt);
    const FormModel::Outcome cancelled = form->edit(u"Account", u"8888"_s);
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->field, u"GLT:Account") << "the cursor goes back";
    ASSERT_TRUE(form->checkAll()) << "OK opens the list again and refuses when it is cancelled";
    EXPECT_EQ(picker.asked().size(), 3);

    GLMaster lettered;
    lettered.Account = u"EQ-CLR"_s;
    lettered.Description = u"Equipment Clearing"_s;
    ASSERT_TRUE(company.file<GLMaster>().insert(lettered).isOk());
    const int asked = int(picker.asked().size());
    EXPECT_FALSE(form->edit(u"Account", u"eq-clr"_s));
    EXPECT_EQ(form->code(u"Account"), u"EQ-CLR") << "codes are found in capitals";
    EXPECT_EQ(picker.asked().size(), asked) << "without opening the list";

    picker.answerNext(u"6100"_s);
    EXPECT_FALSE(form->lookUp(u"Account")) << "the lookup button";
    EXPECT_EQ(form->code(u"Account"), u"6100");
    EXPECT_EQ(form->code(u"Description"), u"Fuel") << "a pick is an acceptance too";
}

TEST_F(FormModelTest, DefaultsComeOnlyWithADifferentCodeAndNeverFromTheFinalCheck)
{
    storedTransaction();
    auto form = open(data::Request::Change);
    ASSERT_TRUE(form->isOpen());
    EXPECT_FALSE(form->edit(u"Account", u"6100"_s));
    EXPECT_EQ(form->code(u"Description"), u"My own words") << "the unchanged code copies nothing";
    EXPECT_FALSE(form->checkAll());
    EXPECT_EQ(form->code(u"Description"), u"My own words");
    EXPECT_FALSE(form->isChanged());

    form->setValue(u"Account", u"6200"_s);
    EXPECT_FALSE(form->checkAll());
    EXPECT_EQ(form->code(u"Description"), u"My own words") << "the final check copies nothing";
    EXPECT_FALSE(form->edit(u"Account", u"6200"_s));
    EXPECT_EQ(form->code(u"Description"), u"Repairs") << "a different code accepted while editing";
}

TEST_F(FormModelTest, DerivedValuesFollowTheUsersEditsOnly)
{
    auto form = open(data::Request::Insert);
    ASSERT_FALSE(form->edit(u"LOC:Units", u"2.5"_s));
    ASSERT_FALSE(form->edit(u"LOC:Rate", u"40"_s));
    EXPECT_EQ(form->text(u"Amount"), u"100.00");
    ASSERT_FALSE(form->edit(u"Amount", u"90"_s));
    EXPECT_EQ(form->text(u"Amount"), u"90.00") << "a typed amount stands";
    form->setValue(u"LOC:Units", Decimal(3));
    EXPECT_EQ(form->text(u"Amount"), u"90.00") << "values the screen sets derive nothing";
    ASSERT_FALSE(form->edit(u"LOC:Units", u"3"_s));
    EXPECT_EQ(form->text(u"Amount"), u"90.00") << "an unchanged value derives nothing";
    ASSERT_FALSE(form->edit(u"LOC:Units", u"4"_s));
    EXPECT_EQ(form->text(u"Amount"), u"160.00");
}

TEST_F(FormModelTest, ViewModeChangesNothingAndOpensNoList)
{
    storedTransaction();
    auto form = open(data::Request::View);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->caption(), u"View Record");
    EXPECT_TRUE(form->lookUp(u"Account")) << "the lookup answers cancelled at once";
    EXPECT_TRUE(picker.asked().isEmpty());
    EXPECT_FALSE(form->edit(u"Description", u"Changed"_s));
    EXPECT_EQ(form->code(u"Description"), u"My own words");
    EXPECT_FALSE(form->isEnabled(*form->control(u"Description")));
    EXPECT_TRUE(form->save());
    EXPECT_EQ(form->askCancel(), FormModel::CancelAnswer::Close);
}

TEST_F(FormModelTest, ARefusedRequestOrAMissingRecordNeverOpens)
{
    readOnly = true;
    for (data::Request request :
         {data::Request::Insert, data::Request::Change, data::Request::Delete}) {
        EXPECT_FALSE(open(request)->isOpen());
        EXPECT_EQ(session.globalResponse, data::Response::Cancelled);
    }
    EXPECT_EQ(prompter.texts().size(), 3);

    readOnly = false;
    GLTrans gone;
    gone.RecordID = 4711;
    session.buffer<GLTrans>() = gone;
    EXPECT_FALSE(open(data::Request::Change)->isOpen());
    EXPECT_EQ(warnings, QList<int>{35});
}

TEST_F(FormModelTest, WritesTheRecordAndLogsTheUsersActivityAtLevelTwo)
{
    session.logUserActivity = 2;
    auto form = open(data::Request::Insert);
    ASSERT_FALSE(form->edit(u"Account", u"6100"_s));
    ASSERT_FALSE(form->checkAll());
    ASSERT_TRUE(form->save());
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(session.buffer<GLTrans>().Account, u"6100");

    auto unchanged = open(data::Request::Change);
    ASSERT_TRUE(unchanged->save());
    auto changed = open(data::Request::Change);
    ASSERT_FALSE(changed->edit(u"Account", u"6200"_s));
    ASSERT_TRUE(changed->save());
    auto deleted = open(data::Request::Delete);
    ASSERT_TRUE(deleted->save());
    EXPECT_EQ(warnings, QList<int>{32}) << "the delete was confirmed";

    const QList<UserLog> entries = activity();
    ASSERT_EQ(entries.size(), 3) << "an unchanged record logs no change";
    EXPECT_EQ(entries[0].Text, u"Added transaction 6100");
    EXPECT_EQ(entries[1].Text, u"Changed transaction 6200");
    EXPECT_EQ(entries[2].Text, u"Deleted transaction 6200");
    EXPECT_EQ(entries[0].Area, u"GL Setup");
    EXPECT_EQ(entries[0].UserID, u"ADM");
    EXPECT_EQ(entries[0].Date, SuiteDate::fromYmd(2026, 3, 15));

    session.logUserActivity = 1;
    auto quiet = open(data::Request::Insert);
    ASSERT_FALSE(quiet->edit(u"Account", u"6100"_s));
    ASSERT_TRUE(quiet->save());
    EXPECT_EQ(activity().size(), 3) << "below level 2 nothing is logged";
}

TEST_F(FormModelTest, AnotherStationsChangeIsShownAndNothingIsOverwritten)
{
    storedTransaction();
    auto form = open(data::Request::Change);
    ASSERT_FALSE(form->edit(u"Description", u"Mine"_s));
    GLTrans theirs = session.buffer<GLTrans>();
    ASSERT_TRUE(company.file<GLTrans>().reread(theirs).isOk());
    theirs.Description = u"Theirs"_s;
    ASSERT_TRUE(company.file<GLTrans>().update(theirs).isOk());

    EXPECT_FALSE(form->save());
    EXPECT_EQ(warnings, QList<int>{38});
    EXPECT_EQ(form->code(u"Description"), u"Theirs");
    EXPECT_EQ(form->askCancel(), FormModel::CancelAnswer::Close) << "theirs is now what was shown";
    EXPECT_EQ(form->askCancel(true), FormModel::CancelAnswer::Save)
        << "text still being typed asks to save (warning 33 answered Yes)";
}

} // namespace
