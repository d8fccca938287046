#pragma once

#include "data/Record.h"

namespace qaveq {

// Totals of closed fiscal years and periods, written by posting. Amounts 15.2.

struct EQPriorFields
{
    QString EquipmentID; // 10
    qint16 FiscalYear = 0;
    Decimal InternalUnits, InternalIncome, RentalUnits, RentalIncome, NonProductiveUnits;
};

// Per equipment and fiscal year.
struct EQPrior : data::RecordOf<EQPrior>, EQPriorFields
{
    static const data::FileSchema &fileSchema();
};

// Per equipment, fiscal year and period.
struct EQPriorM : data::RecordOf<EQPriorM>, EQPriorFields
{
    quint8 Period = 0;
    static const data::FileSchema &fileSchema();
};

struct EQPriorCFields
{
    QString EquipmentID; // 10
    QString Category;    // 10
    qint16 FiscalYear = 0;
    Decimal Units, Amount;
};

// Per equipment, cost category and fiscal year.
struct EQPriorC : data::RecordOf<EQPriorC>, EQPriorCFields
{
    static const data::FileSchema &fileSchema();
};

// Per equipment, cost category, fiscal year and period.
struct EQPriorCM : data::RecordOf<EQPriorCM>, EQPriorCFields
{
    quint8 Period = 0;
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
