#pragma once

#include "reports/EquipmentDetailReport.h"

#include <QWidget>

#include <functional>

class QTableWidget;

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

// The transactions of one equipment of the detail listing, as the report
// view window shows them beside its equipment list: sortable by any column,
// with the highlighted transaction and its journal opened through the
// suite's viewers.
class DetailListingView final : public QWidget
{
    Q_OBJECT

public:
    // What the buttons call: a suite procedure by name, after the view has
    // put the transaction in its buffer ("OVVIEWTRANSACTION",
    // "OVBROWSEGLJOURNAL").
    using ProcedureCaller = std::function<void(const QString &)>;

    DetailListingView(DetailListing::ViewedEquipment equipment, data::Session &session,
                      Prompter &prompter, ProcedureCaller call, QWidget *parent = nullptr);

    QTableWidget *transactionList() const { return m_transactions; }

    void viewTransaction();
    void viewJournal();

private:
    const DetailListing::Line *highlightedLine() const;
    bool loadTransaction();

    DetailListing::ViewedEquipment m_equipment;
    data::Session &m_session;
    Prompter &m_prompter;
    ProcedureCaller m_call;
    QTableWidget *m_transactions;
};

} // namespace qaveq
