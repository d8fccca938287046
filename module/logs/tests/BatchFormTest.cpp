#include "logs/BatchForm.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"
#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using forms::FormModel;

namespace {

class BatchFormTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    ScriptedPicker picker;
    FixedClock clock{QDateTime(QDate(2025, 6, 15), QTime(9, 0))};

    BatchFormTest()
    {
        session.userId = u"EQM"_s;
        ::qaveq::Control control;
        control.SystemPassword = u"Sesame"_s;
        EXPECT_TRUE(company.file<::qaveq::Control>().insert(control).isOk());
    }

    std::unique_ptr<FormModel> open(data::Request request, quint16 batchId = 0)
    {
        session.globalRequest = request;
        auto &buffer = session.buffer<EQBatch>();
        buffer = EQBatch{};
        buffer.BatchID = batchId;
        return std::make_unique<FormModel>(
            BatchForm::definition(),
            FormModel::Services{session, prompter, picker, clock,
                                [](int, const QString &, const QString &) { return 1; }});
    }

    quint16 stored(const QString &owner, quint8 secure)
    {
        EQBatch batch;
        batch.UserID = owner;
        batch.Description = u"Stored"_s;
        batch.Secure = secure;
        batch.SortID = qint32(company.file<EQBatch>().count() + 1);
        EXPECT_TRUE(company.file<EQBatch>().insert(batch).isOk());
        return batch.BatchID;
    }

    bool enabled(const FormModel &form, QStringView field)
    {
        return form.isEnabled(*form.control(field));
    }
    bool shown(const FormModel &form, QStringView field)
    {
        return form.isShown(*form.control(field));
    }
};

TEST_F(BatchFormTest, ANewBatchIsPrimedAndNumberedOnOk)
{
    stored(u"ADM"_s, 0);
    std::unique_ptr<FormModel> form = open(data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->caption(), u"Adding a Batch");
    EXPECT_EQ(form->code(u"UserID"), u"EQM");
    EXPECT_EQ(form->value(u"ReInsert"), data::FieldValue(qint64(1)));
    EXPECT_EQ(form->text(u"EQB:BatchID"), u"");
    EXPECT_FALSE(form->edit(u"EQB:Description", u"Paving crew"_s));
    EXPECT_FALSE(form->choose(u"EQB:Secure", qint64(2)));
    ASSERT_FALSE(form->checkAll());
    ASSERT_TRUE(form->save());

    const EQBatch &saved = session.buffer<EQBatch>();
    EXPECT_EQ(saved.BatchID, 2);
    EXPECT_EQ(saved.SortID, 2);
    EXPECT_EQ(saved.Secure, 2);
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(session.resultLine, u"Added batch 2, Paving crew.") << "for the window to say";
}

TEST_F(BatchFormTest, TheBatchNumberIsLockedOnceLogsExistAndFrequencyFollowsItsType)
{
    const quint16 id = stored(u"EQM"_s, 0);
    std::unique_ptr<FormModel> form = open(data::Request::Change, id);
    ASSERT_TRUE(form->isOpen());
    EXPECT_TRUE(enabled(*form, u"EQB:BatchID"));
    EXPECT_FALSE(enabled(*form, u"EQB:Frequency"));
    EXPECT_FALSE(form->choose(u"EQB:Repeating", qint64(1)));
    EXPECT_TRUE(enabled(*form, u"EQB:Frequency"));
    EXPECT_FALSE(form->choose(u"EQB:FrequencyType", qint64(1)));
    EXPECT_FALSE(enabled(*form, u"EQB:Frequency"));
    EXPECT_TRUE(enabled(*form, u"EQB:Frequency2"));

    EQLogB log;
    log.BatchID = quint16(id);
    ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    EXPECT_FALSE(enabled(*open(data::Request::Change, id), u"EQB:BatchID"));

    session.generic = true;
    EXPECT_FALSE(shown(*open(data::Request::Change, id), u"EQB:RememberLastJob"));
}

TEST_F(BatchFormTest, AnotherUsersSecureBatchOpensOnlyWithTheSystemPassword)
{
    const quint16 id = stored(u"ADM"_s, 1);
    std::unique_ptr<FormModel> form = open(data::Request::Change, id);
    ASSERT_TRUE(form->isOpen());
    for (const QString &field : {u"EQB:BatchID"_s, u"EQB:Description"_s, u"EQB:Secure"_s,
                                 u"EQB:Repeating"_s, u"EQB:ReInsert"_s})
        EXPECT_FALSE(enabled(*form, field)) << field.toStdString();
    const forms::Control *override = nullptr;
    const forms::Control *go = nullptr;
    for (const forms::Control *control : form->controls()) {
        if (control->prompt == u"Override Security Setting")
            override = control;
        if (control->prompt == u"Go")
            go = control;
    }
    ASSERT_TRUE(override && go);
    EXPECT_TRUE(form->isShown(*override));
    EXPECT_FALSE(form->isShown(*go));
    override->onChange(*form);
    EXPECT_TRUE(form->isShown(*go));
    EXPECT_TRUE(shown(*form, u"LOC:Password"));

    EXPECT_FALSE(form->edit(u"LOC:Password", u"open"_s));
    go->onChange(*form);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Incorrect Password");
    EXPECT_EQ(prompter.shown()[0].text, u"Please enter the correct System Password.");
    EXPECT_FALSE(enabled(*form, u"EQB:Description"));

    EXPECT_FALSE(form->edit(u"LOC:Password", u"sesame"_s));
    go->onChange(*form);
    EXPECT_TRUE(enabled(*form, u"EQB:Description"));
    EXPECT_FALSE(form->isShown(*override));
    EXPECT_FALSE(form->isShown(*go));
    // Opening the batch is no change to save.
    EXPECT_FALSE(form->isChanged());

    // In view mode nothing can be overridden.
    std::unique_ptr<FormModel> view = open(data::Request::View, id);
    EXPECT_FALSE(view->isEnabled(*override));
    EXPECT_FALSE(enabled(*view, u"EQB:Description"));
}

TEST_F(BatchFormTest, AReadOnlyUserMayNotAddOrDeleteBatches)
{
    session.usageLogsReadOnly = true;
    const quint16 id = stored(u"EQM"_s, 0);
    EXPECT_FALSE(open(data::Request::Insert)->isOpen());
    EXPECT_FALSE(open(data::Request::Delete, id)->isOpen());
    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_EQ(prompter.shown()[0].caption, u"Insufficient Access");
    EXPECT_TRUE(open(data::Request::View, id)->isOpen());
}

} // namespace
