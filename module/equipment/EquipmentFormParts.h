#pragma once

#include "EquipmentForm.h"

#include "runtime/forms/FormDefinition.h"

#include <QSet>

#include <memory>

namespace qaveq {

struct EQHeader;

namespace data {
class Company;
}

// What the files of the equipment form share. Each page is built in the file
// of its behaviour: the general page, the fixed-asset page with the
// depreciation schedule and the charge destination, the pages that list the
// equipment's cost categories, service schedule and notes; the form's life
// (open, check, save, photograph and user-defined prompts) is in
// EquipmentForm.cpp.
namespace EquipmentForm {

using forms::ChildColumn;
using forms::ChildRow;
using forms::Choice;
using forms::Control;
using forms::ControlKind;
using forms::FormModel;

inline const QString Topic = QStringLiteral("html/EC_Equipment.htm");

const EQHeader &equipmentOf(const FormModel &form);
// An amount as the picture shows it, without its padding.
QString money(const Decimal &value, const QString &picture = QStringLiteral("@n-15.2"));
forms::CodeCheck accountCheck();
Control entry(const QString &prompt, const QString &field, const QString &picture);
Control account(const QString &prompt, const QString &field);
// A button of the form; `whileViewing`: it works when the record is only viewed.
Control button(const QString &text, std::function<void(FormModel &)> action, bool whileViewing);

// The operator's name from the payroll file, by the employee ID on the form.
QString operatorName(const FormModel &form);
// The fiscal periods the cost categories' figures can be shown for, latest first.
QList<Choice> fiscalPeriods(data::Company &company);

forms::Page generalPage();
forms::Page fixedAssetPage(const Actions &actions);
forms::Page costCategoriesPage(data::Company &company);
forms::Page serviceSchedulePage();
forms::Page notesPage(const std::shared_ptr<QSet<qint32>> &tagged, const Actions &actions);

} // namespace EquipmentForm

} // namespace qaveq
