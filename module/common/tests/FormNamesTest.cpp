#include "equipment/CostCategoryForms.h"
#include "equipment/EquipmentForm.h"
#include "logs/BatchForm.h"
#include "logs/LogEntryForm.h"
#include "logs/LogEntryMemory.h"
#include "records/ModuleFiles.h"
#include "reports/DefinitionForms.h"

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"
#include "runtime/forms/FormModel.h"

#include "data/Catalog.h"
#include "data/Company.h"
#include "data/FileSchema.h"
#include "data/Session.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace qaveq;
using forms::ControlKind;

namespace {

bool hasKey(const data::FileSchema &file, const QString &key)
{
    try {
        file.key(key);
        return true;
    } catch (const std::invalid_argument &) {
        return false;
    }
}

// Every name a form declares that its files and its own values do not hold,
// one line each with the page and the prompt it was found under. A field
// named wrongly otherwise shows only when the form is opened and reads it.
QStringList unknownNames(const forms::FormDefinition &form, const data::Catalog &catalog)
{
    const data::FileSchema *file = catalog.find(form.file);
    if (!file)
        return {u"the form's file "_s + form.file};
    QStringList problems;
    const auto isValue = [&](const QString &name) {
        return file->field(name) ||
               std::any_of(form.values.cbegin(), form.values.cend(),
                           [&name](const forms::FormValue &own) { return own.name == name; });
    };
    const auto fileNamed = [&](const QString &name, const QString &where) {
        const data::FileSchema *found = catalog.find(name);
        if (!found)
            problems.append(where + u": file "_s + name);
        return found;
    };
    for (const forms::Page &page : form.pages)
        for (const forms::Group &group : page.groups)
            for (const forms::Row &row : group.rows)
                for (const forms::Control &control : row.controls) {
                    const QString where = page.title + u" / "_s + control.prompt;
                    const auto expect = [&](bool known, const QString &name) {
                        if (!known)
                            problems.append(where + u": "_s + name);
                    };
                    switch (control.kind) {
                    case ControlKind::Entry:
                    case ControlKind::CheckBox:
                    case ControlKind::DropList:
                    case ControlKind::RadioGroup:
                    case ControlKind::Display:
                        expect(isValue(control.field), control.field);
                        break;
                    case ControlKind::Custom:
                        expect(!control.field.isEmpty(), u"a part without a name"_s);
                        break;
                    case ControlKind::Button:
                        break;
                    case ControlKind::ChildList: {
                        const forms::ChildList &child = control.child;
                        for (const QString &name : child.rangeFields + child.dependsOn)
                            expect(isValue(name), name);
                        if (child.file.isEmpty())
                            break;
                        const data::FileSchema *listed = fileNamed(child.file, where);
                        if (!listed)
                            break;
                        // Rows the form computes need no key to be read in.
                        if (!child.key.isEmpty() || !child.rows)
                            expect(hasKey(*listed, child.key), child.key);
                        for (const forms::ChildColumn &column : child.columns)
                            if (!column.field.isEmpty())
                                expect(listed->field(column.field) != nullptr, column.field);
                        break;
                    }
                    }
                    if (!control.code)
                        continue;
                    const forms::CodeCheck &code = *control.code;
                    if (const data::FileSchema *looked = fileNamed(code.file, where)) {
                        expect(hasKey(*looked, code.key), code.key);
                        if (!code.codeField.isEmpty())
                            expect(looked->field(code.codeField) != nullptr, code.codeField);
                    }
                }
    for (const forms::Derived &rule : form.derived)
        for (const QString &name : rule.from + QStringList{rule.to})
            if (!isValue(name))
                problems.append(u"derived value: "_s + name);
    return problems;
}

class FormNamesTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    ScriptedPicker picker;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 30))};
    LogEntryMemory memory;

    FormNamesTest() { session.userId = u"ADM"_s; }

    // Every form of the module, by the procedure that opens it.
    QList<std::pair<QString, std::function<forms::FormDefinition()>>> forms()
    {
        QList<std::pair<QString, std::function<forms::FormDefinition()>>> all{
            {u"UPDATEEQHEADER"_s, [this] { return EquipmentForm::definition(session, {}); }},
            {u"UPDATEEQCODE"_s, [] { return CostCategoryForms::category(); }},
            {u"UPDATEEQCOST"_s, [] { return CostCategoryForms::equipmentCost(); }},
            {u"UPDATEEQBATCH"_s, [] { return BatchForm::definition(); }},
            {u"UpdateEQLogB"_s, [this] { return LogEntryForm::definition(session, memory); }},
        };
        for (const FamilyInfo &family : ReportFamilies::all())
            all.append({family.formProcedure,
                        [&family] { return DefinitionForms::definition(family.family, {}); }});
        return all;
    }
};

// Each control of every form names a field of the form's file or a value of
// the form's own, each list and code a file, key and field that exist; and
// every form opens for a new record and reads each value it shows.
TEST_P(FormNamesTest, EveryControlOfEveryFormNamesWhatItsFilesHold)
{
    const data::Catalog catalog = companyCatalog();
    for (const auto &[procedure, make] : forms()) {
        SCOPED_TRACE(procedure.toStdString());
        const forms::FormDefinition definition = make();
        EXPECT_EQ(unknownNames(definition, catalog), QStringList());

        // A cost category is added to an equipment.
        session.equipField = u"TRK-101"_s;
        session.globalRequest = data::Request::Insert;
        forms::FormModel model(definition,
                               {session, prompter, picker, clock,
                                [](int, const QString &, const QString &) { return 1; }});
        ASSERT_TRUE(model.isOpen());
        for (const forms::Control *control : model.controls())
            if (control->kind != ControlKind::ChildList && control->kind != ControlKind::Button &&
                control->kind != ControlKind::Custom)
                model.text(control->field);
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, FormNamesTest, ::testing::ValuesIn(qaveq::testing::backends()));

// The check itself finds a name misspelt in each place a form names one.
TEST(FormNamesCheckTest, FindsEachKindOfMisspeltName)
{
    using forms::Control;
    forms::FormDefinition form{.file = u"EQCode"_s};
    form.values = {{.name = u"LOC:Units"_s}};
    form.pages = {
        {.title = u"Page"_s,
         .groups = {{.rows = forms::column({
                         {.prompt = u"Good"_s, .field = u"EQD:Description"_s},
                         {.prompt = u"Own"_s, .field = u"LOC:Units"_s},
                         {.prompt = u"Typo"_s, .field = u"EQD:Descripton"_s},
                         {.prompt = u"Prefix"_s, .field = u"EQH:Description"_s},
                         {.prompt = u"Code"_s,
                          .field = u"EQD:DefaultUnit"_s,
                          .code = forms::CodeCheck{.file = u"EQCost"_s, .key = u"KeyNothing"_s}},
                         {.kind = ControlKind::ChildList,
                          .prompt = u"List"_s,
                          .field = u"LOC:List"_s,
                          .child = {.file = u"EQCost"_s,
                                    .key = u"KeyCostCategory"_s,
                                    .rangeFields = {u"EQD:CategoryId"_s},
                                    .columns = {{.field = u"EQC:Nothing"_s}}}},
                     })}}}};
    form.derived = {{.from = {u"LOC:Unit"_s}, .to = u"EQD:Meter"_s}};

    EXPECT_EQ(unknownNames(form, companyCatalog()),
              QStringList({u"Page / Typo: EQD:Descripton"_s, u"Page / Prefix: EQH:Description"_s,
                           u"Page / Code: KeyNothing"_s, u"Page / List: EQC:Nothing"_s,
                           u"derived value: LOC:Unit"_s}));
}

} // namespace
