#include "records/EQBatch.h"
#include "transfer/tests/TransferFixture.h"
#include "transfer/ui/BatchChooser.h"
#include "transfer/ui/ExportWindow.h"
#include "transfer/ui/ImportSourceForm.h"
#include "transfer/ui/ImportWindow.h"

#include "runtime/AutoEntry.h"
#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"

#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringListModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class TransferWindowsTest : public qaveq::testing::TransferTest
{
protected:
    ScriptedPrompter prompter;
    ScriptedFileChooser files;

    void batch(quint16 id, const QString &owner, quint8 secure)
    {
        EQBatch record;
        record.BatchID = id;
        record.UserID = owner;
        record.Description = u"Batch "_s + QString::number(id);
        record.Secure = secure;
        record.SortID = id;
        ASSERT_TRUE(company.file<EQBatch>().insert(record).isOk());
    }

    // A log of the batch dated 5 January 2025.
    void log(quint16 batchId, const QString &equipment, int units)
    {
        EQLogB log;
        log.BatchID = quint16(batchId);
        log.EquipmentID = equipment;
        log.Units = Decimal(units);
        log.Date = SuiteDate::fromYmd(2025, 1, 5);
        ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    }

    // The built-in source reading `text` from a file of its own.
    void builtInReads(const QByteArray &text)
    {
        ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
        JCLimits source = *ImportSources::find(company, ImportLayout::BuiltInTitle);
        source.NameFrom = write(u"logs.csv"_s, text);
        ASSERT_TRUE(company.file<JCLimits>().update(source).isOk());
    }
};

QStringList choices(const QComboBox &box)
{
    QStringList result;
    for (int i = 0; i < box.count(); ++i)
        result.append(box.itemText(i));
    return result;
}

// Runs `step` on the modal dialog that opens next, once it is shown.
void onNextDialog(std::function<void(QDialog &)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
}

QStringList headings(const QTableView &table)
{
    QStringList result;
    for (int i = 0; i < table.model()->columnCount(); ++i)
        result.append(table.model()->headerData(i, Qt::Horizontal).toString());
    return result;
}

QString cell(const QTableView &table, int row, int column)
{
    return table.model()->index(row, column).data().toString();
}

TEST_P(TransferWindowsTest, OpeningMakesTheBuiltInSourceWhichCannotBeDeleted)
{
    ImportWindow window(session, prompter, files, clock, 1);
    ASSERT_EQ(window.sources().count(), 1);
    EXPECT_EQ(window.sources().currentItem()->text(), u"*Usage Logs Exported from Tessary");
    EXPECT_EQ(window.previewList().model()->columnCount(), 15);
    EXPECT_EQ(headings(window.previewList()).mid(0, 4),
              (QStringList{u"EQ ID"_s, u"Meter Start"_s, u"Meter End"_s, u"Units"_s}));
    EXPECT_FALSE(window.button(u"&Import"_s).isEnabled());

    window.button(u"&Delete"_s).click();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().last().caption, u"Cannot Delete");
    EXPECT_EQ(prompter.shown().last().text, u"This Import Type cannot be deleted.");
    EXPECT_EQ(ImportSources::all(company).size(), 1);
}

// Preview of a source whose file is gone: the user picks another, sees the
// errors, proceeds, keeps the equipment charges only and imports.
TEST_P(TransferWindowsTest, PreviewAndImportThroughTheWindow)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    JCLimits source = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    source.NameFrom = folder.filePath(u"gone.csv"_s);
    ASSERT_TRUE(company.file<JCLimits>().update(source).isOk());
    const QString path = write(u"logs.csv"_s, "NOPE,0,1\n"
                                              "LDR-1,0,2,,,,,J100,0100000000\n"
                                              "LDR-1,0,3,,,,,J100,0200000000M\n"
                                              "TRK-2,0,4,,R,,6110\n");
    ImportWindow window(session, prompter, files, clock, 3);
    QList<UsageLogImporter::Error> reviewed;
    window.setErrorReview([&](const QList<UsageLogImporter::Error> &errors) {
        reviewed = errors;
        return true;
    });
    prompter.answerNext(1); // select a different file: Yes
    files.answerNext(path);
    prompter.answerNext(1); // &Equipment Only
    window.button(u"&Preview"_s).click();

    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_EQ(prompter.shown()[0].caption, u"Select New Filename");
    EXPECT_EQ(prompter.shown()[0].text, u"The selected import file, "_s + source.NameFrom +
                                            u" does not exist.  Do you wish to select a "
                                            u"different file?"_s);
    EXPECT_EQ(files.asked(), QStringList{u"Select An Import File"_s});
    EXPECT_EQ(Text::clip(ImportSources::find(company, ImportLayout::BuiltInTitle)->NameFrom), path);
    ASSERT_EQ(reviewed.size(), 1);
    EXPECT_EQ(reviewed.first().line, 1);
    EXPECT_EQ(prompter.shown()[1].caption, u"Import Non-Equipment Cost Types?");
    EXPECT_TRUE(prompter.shown()[1].text.startsWith(
        u"Out of the 3 usage log records to be imported,|1 have been charged"_s));
    EXPECT_EQ(prompter.shown()[1].buttons, u"&Equipment Only|&All Types");

    EXPECT_EQ(window.previewList().model()->rowCount(), 2);
    EXPECT_EQ(cell(window.previewList(), 0, 0), u"LDR-1");
    EXPECT_EQ(cell(window.previewList(), 1, 3), u"4.00");
    EXPECT_EQ(window.count().text(), u"2 Records");
    EXPECT_TRUE(window.button(u"&Import"_s).isEnabled());
    EXPECT_FALSE(window.button(u"&Preview"_s).isEnabled());

    window.button(u"&Import"_s).click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const QList<EQLogB> logs = logsOf(3);
    ASSERT_EQ(logs.size(), 2);
    EXPECT_EQ(logs[0].GrossAmount, Decimal(100)); // 2 x 50
    EXPECT_EQ(logs[1].GrossAmount, Decimal(80));  // 4 x 20, rental
}

TEST_P(TransferWindowsTest, CancellingTheErrorsImportsNothing)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    JCLimits source = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    source.NameFrom = write(u"logs.csv"_s, "NOPE,0,1\nLDR-1,0,2,,,,6110\n");
    ASSERT_TRUE(company.file<JCLimits>().update(source).isOk());
    ImportWindow window(session, prompter, files, clock, 3);
    window.setErrorReview([](const auto &) { return false; });
    window.button(u"&Preview"_s).click();
    EXPECT_EQ(window.previewList().model()->rowCount(), 0);
    EXPECT_FALSE(window.button(u"&Import"_s).isEnabled());
    EXPECT_TRUE(window.button(u"&Preview"_s).isEnabled());
}

TEST_P(TransferWindowsTest, AFolderOrAPipeIsRefusedForWhatItIsNotAsMissing)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    JCLimits source = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    const QString pipe = folder.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {folder.path(), pipe}) {
        source.NameFrom = path;
        ASSERT_TRUE(company.file<JCLimits>().update(source).isOk());
        ImportWindow window(session, prompter, files, clock, 3);
        window.button(u"&Preview"_s).click();
        ASSERT_FALSE(prompter.shown().isEmpty());
        EXPECT_EQ(prompter.shown().last().caption, u"Cannot Read File");
        EXPECT_TRUE(prompter.shown().last().text.contains(u"not a regular file"_s))
            << prompter.shown().last().text.toStdString();
        EXPECT_TRUE(files.asked().isEmpty()) << "no other file is asked for";
    }
}

TEST_P(TransferWindowsTest, ImportWithoutABatchSaysSo)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    JCLimits source = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    source.NameFrom = write(u"logs.csv"_s, "LDR-1,0,2,,,,6110\n");
    ASSERT_TRUE(company.file<JCLimits>().update(source).isOk());
    ImportWindow window(session, prompter, files, clock, 0);
    window.button(u"&Preview"_s).click();
    window.button(u"&Import"_s).click();
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().caption, u"No Batch");
    EXPECT_TRUE(logsOf(0).isEmpty());
}

// From the main menu no batch is handed over: the window offers the batches
// the user may add logs to, and the import goes into the one chosen.
TEST_P(TransferWindowsTest, OpenedWithoutABatchImportsIntoTheChosenOne)
{
    batch(4, u"EQM"_s, 0);
    batch(5, u"ADM"_s, 1); // only its owner may change it
    batch(6, u"ADM"_s, 0);
    batch(7, u"ADM"_s, 2); // hidden from others
    builtInReads("LDR-1,0,2,,,,6110\n");
    ImportWindow window(session, prompter, files, clock, 0);
    ASSERT_NE(window.batchChooser(), nullptr);
    EXPECT_EQ(choices(*window.batchChooser()), (QStringList{u"4  Batch 4"_s, u"6  Batch 6"_s}));

    window.batchChooser()->setCurrentIndex(1);
    window.button(u"&Preview"_s).click();
    window.button(u"&Import"_s).click();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(logsOf(4).isEmpty());
    ASSERT_EQ(logsOf(6).size(), 1);
    EXPECT_EQ(logsOf(6).first().GrossAmount, Decimal(100));

    ImportWindow handed(session, prompter, files, clock, 4);
    EXPECT_EQ(handed.batchChooser(), nullptr) << "a highlighted batch is not asked for again";
}

TEST_P(TransferWindowsTest, ExportOpenedWithoutABatchOffersTheBatchesTheUserMayRead)
{
    batch(4, u"EQM"_s, 2);
    batch(5, u"ADM"_s, 1); // others may read it
    batch(7, u"ADM"_s, 2);
    log(5, u"TRK-2"_s, 2);
    ExportWindow window(session, prompter, files, 0);
    ASSERT_NE(window.batchChooser(), nullptr);
    EXPECT_EQ(choices(*window.batchChooser()), (QStringList{u"4  Batch 4"_s, u"5  Batch 5"_s}));
    window.batchChooser()->setCurrentIndex(1);
    const QString path = folder.filePath(u"out.txt"_s);
    QTest::keyClicks(&window.fileName(), path);
    window.findChild<QDialogButtonBox *>()->buttons().first()->click(); // &Proceed
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "TRK-2,0,0,2,,,,,,,,, 1/ 5/2025,,0\n");
}

// Delete of a source opens the source form in delete mode: the source shown
// unchangeable, OK named "&Delete", the standard question before it goes.
TEST_P(TransferWindowsTest, DeleteShowsTheSourceFormAndAsksBeforeDeleting)
{
    JCLimits yard;
    yard.Report = ImportLayout::SourceKind;
    yard.ReportTitle = u"Yard scale"_s;
    yard.PrintOrder = u"F"_s;
    yard.JobTo = u"YYYYMMDD"_s;
    yard.Layout = u"Q10S08"_s;
    ASSERT_TRUE(company.file<JCLimits>().insert(yard).isOk());
    ImportWindow window(session, prompter, files, clock, 1);
    ASSERT_EQ(window.sources().count(), 2);
    window.sources().setCurrentRow(window.sources().row(
        window.sources().findItems(u"Yard scale"_s, Qt::MatchExactly).first()));

    QList<data::Request> requests;
    window.setSourceEditor(
        [&](data::Request request, const JCLimits &source) -> std::optional<JCLimits> {
            requests.append(request);
            ImportSourceForm form(session, prompter, files, request, source);
            EXPECT_EQ(form.windowTitle(), u"View Record");
            EXPECT_FALSE(form.title().isEnabled());
            EXPECT_FALSE(form.header().isEnabled());
            EXPECT_FALSE(form.list().isEnabled());
            EXPECT_EQ(form.list().rowCount(), 2);
            QPushButton *ok = form.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            EXPECT_EQ(ok->text(), u"&Delete");
            ok->click();
            if (form.result() != QDialog::Accepted)
                return std::nullopt;
            return form.source();
        });
    prompter.answerNext(2); // Cancel: kept
    window.button(u"&Delete"_s).click();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().last().caption, u"Confirm Delete");
    EXPECT_EQ(prompter.shown().last().buttons, u"&OK|&Cancel");
    EXPECT_TRUE(ImportSources::find(company, u"Yard scale"_s));

    prompter.answerNext(1);
    window.button(u"&Delete"_s).click();
    EXPECT_EQ(requests, (QList<data::Request>{data::Request::Delete, data::Request::Delete}));
    EXPECT_FALSE(ImportSources::find(company, u"Yard scale"_s));
    ASSERT_EQ(window.sources().count(), 1);
    EXPECT_EQ(window.sources().currentItem()->text(), ImportLayout::BuiltInTitle);
}

// In the suite's generic mode the item form offers the general-ledger
// entry's fields; only "Date" and "GL Account" make it into the layout.
TEST_P(TransferWindowsTest, GenericModeOffersTheLedgerFields)
{
    session.generic = true;
    ImportSourceForm form(session, prompter, files, data::Request::Insert, JCLimits());
    QStringList offered;
    const auto pick = [&offered](const QString &contents) {
        onNextDialog([&offered, contents](QDialog &item) {
            auto *box = item.findChild<QComboBox *>();
            offered = choices(*box);
            box->setCurrentText(contents);
            item.accept();
        });
    };
    pick(u"Journal ID"_s);
    form.button(u"&Add"_s).click();
    EXPECT_EQ(offered, (QStringList{u"Not Used"_s, u"Fiscal Period"_s, u"Fiscal Period Label"_s,
                                    u"Journal ID"_s, u"Date"_s, u"GL Account"_s, u"Description"_s,
                                    u"Check Number"_s, u"Amount"_s, u"Credit/Debit"_s}));
    pick(u"GL Account"_s);
    form.button(u"&Add"_s).click();
    pick(u"Date"_s);
    form.button(u"&Add"_s).click();
    EXPECT_EQ(form.list().rowCount(), 3);
    QTest::keyClicks(&form.title(), u"Ledger"_s);
    form.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_TRUE(ImportSources::find(company, u"Ledger"_s));
    EXPECT_EQ(ImportSources::find(company, u"Ledger"_s)->Layout, u"G00#00");
}

// 2,500 lines: the bar follows the run in steps and is gone when it ends.
TEST_P(TransferWindowsTest, ImportShowsItsProgress)
{
    QByteArray text;
    for (int i = 0; i < 2500; ++i)
        text += "LDR-1,0,1,,,,6110\n";
    builtInReads(text);
    ImportWindow window(session, prompter, files, clock, 3);
    window.button(u"&Preview"_s).click();
    ASSERT_EQ(window.previewList().model()->rowCount(), 2500);
    EXPECT_EQ(cell(window.previewList(), 2499, 6), u"6110");
    EXPECT_TRUE(window.progress().isHidden());
    QSignalSpy steps(&window.progress(), &QProgressBar::valueChanged);
    window.button(u"&Import"_s).click();
    QList<int> values;
    for (const QList<QVariant> &step : steps)
        values.append(step.first().toInt());
    EXPECT_EQ(values, (QList<int>{0, 1000, 2000, 2500}));
    EXPECT_EQ(window.progress().maximum(), 2500);
    EXPECT_TRUE(window.progress().isHidden());
    EXPECT_EQ(window.previewList().model()->rowCount(), 0);
    EXPECT_EQ(logsOf(3).size(), 2500);
}

TEST_P(TransferWindowsTest, BuiltInSourceFormChangesOnlyTheHeaderFlag)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    const JCLimits builtIn = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    ImportSourceForm form(session, prompter, files, data::Request::Change, builtIn);
    EXPECT_EQ(form.windowTitle(),
              u"Changing an Equipment Log Import Source  (*Usage Logs Exported from Tessary)");
    EXPECT_FALSE(form.title().isEnabled());
    EXPECT_FALSE(form.list().isEnabled());
    EXPECT_FALSE(form.button(u"Move Up"_s).isEnabled());
    EXPECT_FALSE(form.button(u"&Add"_s).isEnabled());
    EXPECT_TRUE(form.header().isEnabled());
    EXPECT_EQ(form.list().rowCount(), 15);
    EXPECT_TRUE(form.list().isColumnHidden(3)); // comma format: no lengths
    form.header().setChecked(true);
    form.accept();
    const JCLimits saved = *ImportSources::find(company, ImportLayout::BuiltInTitle);
    EXPECT_EQ(saved.Skip, 1);
    EXPECT_EQ(saved.Layout, ImportLayout::BuiltInLayout);
}

TEST_P(TransferWindowsTest, NewFixedSourceIsBuiltRowByRow)
{
    JCLimits fresh;
    ImportSourceForm form(session, prompter, files, data::Request::Insert, fresh);
    QList<ImportLayout::Row> answers{{0, QString(), u"Equipment ID"_s, 10, 0},
                                     {0, QString(), u"Meter Start"_s, 8, 0},
                                     {0, QString(), u"Total Units"_s, 6, 0},
                                     {0, QString(), u"Not Used"_s, 3, 0}};
    form.setItemEditor([&](const ImportLayout::Row &row) -> std::optional<ImportLayout::Row> {
        EXPECT_EQ(row.number, form.rows().size() + 1);
        ImportLayout::Row answer = answers.takeFirst();
        answer.number = row.number;
        return answer;
    });
    for (QAbstractButton *radio : form.findChildren<QAbstractButton *>())
        if (radio->text() == u"Fixed Position")
            radio->click();
    for (int i = 0; i < 4; ++i)
        form.addItem();
    EXPECT_FALSE(form.list().isColumnHidden(4));
    EXPECT_EQ(form.list().item(2, 4)->text(), u"19"); // start after 10 and 8
    form.list().selectRow(2);
    form.button(u"Move to Top"_s).click();
    EXPECT_EQ(form.highlighted(), 0);
    EXPECT_EQ(form.list().item(0, 2)->text(), u"Total Units");
    EXPECT_EQ(form.list().item(1, 4)->text(), u"7");

    form.accept(); // no name yet
    ASSERT_EQ(prompter.shown().size(), 1);
    form.title().setText(u"Yard scale"_s);
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const std::optional<JCLimits> saved = ImportSources::find(company, u"Yard scale"_s);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Layout, u"U06Q10S08");
    EXPECT_EQ(saved->PrintOrder, u"F");
    EXPECT_EQ(saved->Report, u"EQ Log Import");
}

TEST_P(TransferWindowsTest, ExportWritesThenShowsOrSaysComplete)
{
    log(2, u"LDR-1"_s, 3);
    ExportWindow window(session, prompter, files, 2);
    QStringList viewed;
    window.setViewer([&](const QString &path) { viewed.append(path); });

    window.proceed(); // no file name: nothing
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_NE(window.result(), QDialog::Accepted);

    const QString path = folder.filePath(u"out.txt"_s);
    window.fileName().setText(path);
    window.previewBox().setChecked(true);
    window.proceed();
    EXPECT_EQ(viewed, QStringList{path});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "LDR-1,0,0,3,,,,,,,,, 1/ 5/2025,,0\n");

    ExportWindow again(session, prompter, files, 2);
    again.fileName().setText(path);
    again.proceed();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().last().text, u"Export Process Complete");
}

// The export file names typed before are offered again, the latest first.
TEST_P(TransferWindowsTest, ExportOffersTheFileNamesUsedBefore)
{
    AutoEntry::setCurrent(std::make_unique<AutoEntry>(folder.filePath(u"typed.sqlite"_s)));
    const QString first = folder.filePath(u"monday.txt"_s);
    const QString second = folder.filePath(u"tuesday.txt"_s);
    for (const QString &path : {first, second}) {
        ExportWindow window(session, prompter, files, 2);
        QTest::keyClicks(&window.fileName(), path);
        window.findChild<QDialogButtonBox *>()->buttons().first()->click(); // &Proceed
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    ExportWindow window(session, prompter, files, 2);
    QTest::keyClicks(&window.fileName(), folder.path().left(3));
    auto *offered = qobject_cast<QStringListModel *>(window.fileName().completer()->model());
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(offered->stringList(), (QStringList{second, first}));
    AutoEntry::setCurrent(nullptr);
}

INSTANTIATE_TEST_SUITE_P(SQLite, TransferWindowsTest, ::testing::Values(std::string("SQLite")));

} // namespace
