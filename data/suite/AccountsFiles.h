#pragma once

#include "data/Record.h"

namespace qaveq {

// Payables vendor: what a ledger line's VendorID names.
struct APVendor : data::RecordOf<APVendor>
{
    QString VendorID; // 10
    QString Name;     // 40
    static const data::FileSchema &fileSchema();
};

// Payables invoice: what a ledger line's APInvoiceID names. A vendor's bill
// may be entered without its number.
struct APInvoice : data::RecordOf<APInvoice>
{
    qint32 InvoiceID = 0;
    QString VendorID;      // 10
    QString InvoiceNumber; // 15
    static const data::FileSchema &fileSchema();
};

// Receivables customer: what a ledger line's CustomerID names.
struct ARCustomer : data::RecordOf<ARCustomer>
{
    QString CustomerID; // 10
    QString Name;       // 40
    static const data::FileSchema &fileSchema();
};

// Receivables billing: what a ledger line's ARInvoiceID names.
struct ARBilling : data::RecordOf<ARBilling>
{
    qint32 BillingID = 0;
    QString CustomerID;    // 10
    QString BillingNumber; // 15
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
