#include "runtime/widgets/RecordForm.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class RecordFormTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), data::Catalog::suite()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    QList<int> warnings;
    QList<int> answers;
    int lookups = 0;

    RecordForm::Warn warn()
    {
        return [this](int number, const QString &, const QString &) {
            warnings.append(number);
            return answers.isEmpty() ? 1 : answers.takeFirst();
        };
    }

    RecordForm::Definition accountForm()
    {
        using Control = RecordForm::Control;
        RecordForm::Definition definition{u"GLMaster"_s,
                                          u"Adding an Account"_s,
                                          u"Changing an Account"_s,
                                          u"Deleting an Account"_s,
                                          {},
                                          {}};
        definition.controls = {
            Control::entry(u"Account"_s, u"GLM:Account"_s, u"@s12"_s, true),
            Control::entry(u"Description"_s, u"GLM:Description"_s, u"@s30"_s, true)
                .withLookup([this](const QString &) -> std::optional<QString> {
                    ++lookups;
                    return u"Looked Up"_s;
                }),
            Control::dropList(u"Type"_s, u"GLM:AccountType"_s, {u"Asset"_s, u"Expense"_s},
                              {u"A"_s, u"E"_s}),
            Control::checkBox(u"Active"_s, u"GLM:Active"_s),
        };
        return definition;
    }

    static void type(RecordForm &form, const QString &field, const QString &text)
    {
        qobject_cast<QLineEdit *>(form.editor(field))->setText(text);
    }

    GLMaster stored(const QString &account)
    {
        GLMaster record;
        record.Account = account;
        EXPECT_TRUE(company.file<GLMaster>().fetch(u"KeyAccount", record).isOk());
        return record;
    }
};

TEST_F(RecordFormTest, InsertChecksEntriesAndWritesTheRecord)
{
    session.globalRequest = data::Request::Insert;
    RecordForm form(accountForm(), session, prompter, warn());
    EXPECT_EQ(form.windowTitle(), u"Adding an Account");
    type(form, u"GLM:Account"_s, u"6100"_s);
    EXPECT_FALSE(form.save());
    EXPECT_EQ(prompter.texts(), QStringList{u"Description is a required entry."_s});
    type(form, u"GLM:Description"_s, u"Fuel Expense"_s);
    qobject_cast<QComboBox *>(form.editor(u"AccountType"_s))->setCurrentIndex(1);
    ASSERT_TRUE(form.save());
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(stored(u"6100"_s).AccountType, u"E");
    EXPECT_EQ(session.buffer<GLMaster>().Description, u"Fuel Expense");

    session.globalRequest = data::Request::Insert;
    RecordForm again(accountForm(), session, prompter, warn());
    type(again, u"GLM:Account"_s, u"6100"_s);
    type(again, u"GLM:Description"_s, u"Twice"_s);
    EXPECT_FALSE(again.save());
    EXPECT_EQ(warnings, QList<int>{24}) << "a duplicate key";
    answers = {2};
    EXPECT_FALSE(again.cancel()) << "No to \"Are you sure you want to cancel?\" keeps the form";
    EXPECT_EQ(warnings.last(), 23);
}

TEST_F(RecordFormTest, ChangeNoticesAnotherStationsChange)
{
    GLMaster account;
    account.Account = u"1000"_s;
    account.Description = u"Cash"_s;
    ASSERT_TRUE(company.file<GLMaster>().insert(account).isOk());
    session.buffer<GLMaster>() = stored(u"1000"_s);
    session.globalRequest = data::Request::Change;
    RecordForm form(accountForm(), session, prompter, warn());
    EXPECT_EQ(form.windowTitle(), u"Changing an Account");
    EXPECT_FALSE(form.isChanged());
    type(form, u"GLM:Description"_s, u"Cash - Operating"_s);
    EXPECT_TRUE(form.isChanged());

    GLMaster theirs = stored(u"1000"_s);
    theirs.Description = u"Petty Cash"_s;
    ASSERT_TRUE(company.file<GLMaster>().update(theirs).isOk());
    EXPECT_FALSE(form.save());
    EXPECT_EQ(warnings, QList<int>{38});
    EXPECT_EQ(qobject_cast<QLineEdit *>(form.editor(u"Description"_s))->text(), u"Petty Cash");

    type(form, u"GLM:Description"_s, u"Cash - Operating"_s);
    answers = {3};
    EXPECT_FALSE(form.cancel()) << "Cancel on \"save the changes?\" stays";
    answers = {1};
    EXPECT_TRUE(form.cancel()) << "Yes saves";
    EXPECT_EQ(stored(u"1000"_s).Description, u"Cash - Operating");
}

TEST_F(RecordFormTest, TextCaseOfAnEntryIsKeptPerField)
{
    QMap<QString, QString> store;
    RecordForm::Definition definition = accountForm();
    definition.controls[1].textCase = true;
    definition.caseStore = [&store](const QString &request) {
        const QString field = request.mid(3);
        if (request.startsWith(u"000"_s))
            return store.value(field, u"DEF"_s);
        store[field] = request.left(3);
        return request.left(3);
    };
    store[u"GLM:Description"_s] = u"CAP"_s;
    session.globalRequest = data::Request::Insert;
    RecordForm form(definition, session, prompter, warn());
    auto *description = qobject_cast<QLineEdit *>(form.editor(u"Description"_s));
    description->setText(u"fuel and oil"_s);
    Q_EMIT description->textEdited(description->text());
    EXPECT_EQ(description->text(), u"Fuel And Oil");
    store[u"GLM:Description"_s] = u"UPR"_s;
    Q_EMIT description->textEdited(description->text());
    EXPECT_EQ(description->text(), u"FUEL AND OIL");
    auto *account = qobject_cast<QLineEdit *>(form.editor(u"Account"_s));
    account->setText(u"abc"_s);
    Q_EMIT account->textEdited(account->text());
    EXPECT_EQ(account->text(), u"abc") << "entries without the menu keep their case";
}

TEST_F(RecordFormTest, SpellingOfTheTextEntries)
{
    session.globalRequest = data::Request::Insert;
    RecordForm form(accountForm(), session, prompter, warn());
    type(form, u"GLM:Account"_s, u"6170"_s);
    type(form, u"GLM:Description"_s, u"Oil and lubricents"_s);
    form.checkSpelling([](const QString &word, const QStringList &suggestions) {
        EXPECT_EQ(word, u"lubricents");
        EXPECT_TRUE(suggestions.contains(u"lubricants"_s));
        return SpellChecker::Decision{SpellChecker::Decision::Kind::Change, u"lubricants"_s};
    });
    EXPECT_EQ(qobject_cast<QLineEdit *>(form.editor(u"Description"_s))->text(),
              u"Oil and lubricants");
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().last().caption, u"Spelling");
    EXPECT_EQ(prompter.shown().last().text, u"The spelling check is complete.");
}

TEST_F(RecordFormTest, DeleteAsksFirstAndViewChangesNothing)
{
    GLMaster account;
    account.Account = u"2000"_s;
    account.Description = u"Payables"_s;
    ASSERT_TRUE(company.file<GLMaster>().insert(account).isOk());

    session.buffer<GLMaster>() = stored(u"2000"_s);
    session.globalRequest = data::Request::View;
    RecordForm view(accountForm(), session, prompter, warn());
    EXPECT_EQ(view.windowTitle(), u"View Record");
    EXPECT_FALSE(view.editor(u"Description"_s)->isEnabled());
    EXPECT_EQ(lookups, 0);

    session.globalRequest = data::Request::Delete;
    answers = {2};
    RecordForm cancelled(accountForm(), session, prompter, warn());
    EXPECT_FALSE(cancelled.save());
    EXPECT_EQ(company.file<GLMaster>().count(), 1);
    RecordForm confirmed(accountForm(), session, prompter, warn());
    EXPECT_TRUE(confirmed.save());
    EXPECT_EQ(warnings, (QList<int>{32, 32}));
    EXPECT_EQ(company.file<GLMaster>().count(), 0);
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
}

} // namespace
