#pragma once

#include "records/EQHeader.h"

#include "runtime/forms/FormDefinition.h"

#include "data/suite/SystemFiles.h"

#include "core/Decimal.h"

#include <optional>

namespace qaveq {

class LogEntryMemory;

namespace forms {
class FormModel;
}

// The rules of the usage-log entry form (UpdateEQLogB): its own values, the
// pricing of the use, the description lines beside the codes, and the
// checks of every code typed into it.
namespace LogEntryChecks {

// The form's own values: what it shows of the equipment, the rate and
// adjustment of the charge, and the description lines beside the codes.
inline const QString EquipmentName = QStringLiteral("LOC:EquipmentDescription");
inline const QString InternalRate = QStringLiteral("LOC:InternalRate");
inline const QString RentalRate = QStringLiteral("LOC:RentalRate");
inline const QString UsageUnit = QStringLiteral("LOC:UsageUnit");
inline const QString BillingUnit = QStringLiteral("LOC:BillingUnit");
inline const QString Rate = QStringLiteral("LOC:Rate");
inline const QString Adjustment = QStringLiteral("LOC:Adjustment");
inline const QString Line1 =
    QStringLiteral("LOC:Description1"); // job, account or equipment charged
inline const QString Line2 = QStringLiteral("LOC:Description2"); // cost code or cost category
inline const QString ChangeOrderName = QStringLiteral("LOC:ChangeOrderDescription");
inline const QString EmployeeName = QStringLiteral("LOC:EmployeeName");
inline const QString ChangeOrderDetail = QStringLiteral("LOC:ChangeOrderDetail");

bool detailIs(const forms::FormModel &form, const QString &type);
Decimal number(const forms::FormModel &form, QStringView name);
// A figure for a log's 11.2 field, rounded to cents; one too large for it
// leaves the field as it is (the entries' check says why).
data::FieldValue fitting(const forms::FormModel &form, QStringView field, const Decimal &figure);
// Why the readings and charges cannot be kept, or empty.
QString tooLarge(const forms::FormModel &form);
Decimal rateOf(const forms::FormModel &form);
// The rate a log is charged at: the rental rate for charge type "R", the
// internal rate for any other.
Decimal rateFor(QStringView chargeType, const Decimal &internal, const Decimal &rental);
Decimal rateFor(QStringView chargeType, const EQHeader &piece);
void priceCharges(forms::FormModel &form);
std::optional<EQHeader> equipment(const forms::FormModel &form, const QString &id);
void showEquipment(forms::FormModel &form, const EQHeader &piece);
void showEmployee(forms::FormModel &form);
void takeEquipment(forms::FormModel &form, LogEntryMemory &memory, const EQHeader &piece);
// The description lines of the detail type, and the change order's.
void refreshDescriptions(forms::FormModel &form);
Systems settingsOf(data::Session &session);

forms::CodeCheck equipmentCheck(LogEntryMemory &memory);
forms::CodeCheck chargedCheck();
forms::CodeCheck jobCheck();
forms::CodeCheck costCodeCheck();
forms::CodeCheck changeOrderCheck();
forms::CodeCheck accountCheck();
forms::CodeCheck categoryCheck();
forms::CodeCheck employeeCheck();

} // namespace LogEntryChecks

} // namespace qaveq
