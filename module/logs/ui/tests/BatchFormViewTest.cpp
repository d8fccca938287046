#include "logs/BatchForm.h"
#include "records/EQBatch.h"
#include "records/ModuleFiles.h"

#include "testing/ModuleFormTest.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

class BatchFormViewTest : public qaveq::testing::ModuleFormTest
{
protected:
    BatchFormViewTest()
    {
        session.userId = u"EQM"_s;
        clock.set(QDateTime(QDate(2025, 6, 15), QTime(9, 0)));
    }

    std::unique_ptr<FormDriver> open(data::Request request, quint16 batchId = 0)
    {
        session.buffer<EQBatch>() = EQBatch{};
        session.buffer<EQBatch>().BatchID = batchId;
        return openForm(BatchForm::definition(), request);
    }

    EQBatch stored(quint16 id)
    {
        EQBatch batch;
        batch.BatchID = id;
        EXPECT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", batch).isOk());
        return batch;
    }
};

TEST_F(BatchFormViewTest, ABatchTypedInAndSavedWithEnterGetsItsNumberAndRepeatsMonthly)
{
    auto form = open(data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->view->windowTitle().section(u" — "_s, 0, 0), u"Adding a Batch");
    form->click(u"EQB:Description");
    form->type(u"Standby charges"_s);
    qobject_cast<QComboBox *>(form->view->editor(u"EQB:Secure"))->setCurrentIndex(1);
    form->view->editor(u"EQB:Repeating")->setFocus();
    form->key(Qt::Key_Space);
    form->click(u"EQB:Frequency");
    form->type(u"7"_s);
    form->key(Qt::Key_Return);
    ASSERT_EQ(session.globalResponse, data::Response::Completed)
        << prompter.texts().join(u'|').toStdString();

    const EQBatch batch = stored(1);
    EXPECT_EQ(batch.Description, u"Standby charges");
    EXPECT_EQ(batch.UserID, u"EQM");
    EXPECT_EQ(batch.Secure, 1);
    EXPECT_EQ(batch.Repeating, 1);
    EXPECT_EQ(batch.Frequency, Decimal(7));
    EXPECT_EQ(batch.ReInsert, 1);
    EXPECT_EQ(batch.SortID, 1);
}

TEST_F(BatchFormViewTest, TheSystemPasswordOpensAnotherUsersSecureBatch)
{
    ::qaveq::Control control;
    control.SystemPassword = u"SUPERVISOR"_s;
    ASSERT_TRUE(company.file<::qaveq::Control>().insert(control).isOk());
    EQBatch batch;
    batch.UserID = u"ADM"_s;
    batch.Description = u"Shop"_s;
    batch.Secure = 1;
    batch.SortID = 1;
    ASSERT_TRUE(company.file<EQBatch>().insert(batch).isOk());

    auto form = open(data::Request::Change, batch.BatchID);
    EXPECT_FALSE(form->entry(u"EQB:Description")->isEnabled() &&
                 !form->entry(u"EQB:Description")->isReadOnly());
    const auto button = [&form](const QString &text) -> QPushButton * {
        for (QPushButton *found : form->view->findChildren<QPushButton *>())
            if (found->text() == text && found->isVisible())
                return found;
        return nullptr;
    };
    ASSERT_TRUE(button(u"Override Security Setting"_s));
    button(u"Override Security Setting"_s)->click();
    FormDriver::settle();
    form->click(u"LOC:Password");
    form->type(u"supervisor"_s);
    EXPECT_EQ(static_cast<QLineEdit *>(form->view->editor(u"LOC:Password"))->displayText(),
              QString(10, QChar(u'\u25CF')))
        << "the password is never shown as typed";
    form->key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button(u"Go"_s));
    form->key(Qt::Key_Space);
    EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.texts().join(u'|').toStdString();
    EXPECT_FALSE(button(u"Go"_s));
    form->click(u"EQB:Description");
    form->type(u"Shop repairs"_s);
    form->key(Qt::Key_Return);
    EXPECT_EQ(stored(batch.BatchID).Description, u"Shop repairs");
    EXPECT_EQ(stored(batch.BatchID).UserID, u"ADM") << "the owner stays";
}

} // namespace
