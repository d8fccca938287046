#pragma once

#include "reports/EquipmentDetailReport.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTableWidget;

namespace qaveq {

class FileChooser;
class Prompter;

namespace data {
class Session;
}

// The detail listing on the screen: the equipment it reached, sortable by
// any column, and the transactions of the highlighted one. Its buttons view
// the equipment, the transaction and its journal through the suite's
// viewers, send the list to a file and print the report.
class DetailListingView final : public QWidget
{
    Q_OBJECT

public:
    // What the buttons call: a suite procedure by name, after the view has
    // put the chosen record in its buffer ("OVVIEWEQHEADER",
    // "OVVIEWTRANSACTION", "OVBROWSEGLJOURNAL"), and the report's printing.
    using ProcedureCaller = std::function<void(const QString &)>;

    DetailListingView(QList<DetailListing::ViewedEquipment> equipment, data::Session &session,
                      Prompter &prompter, ProcedureCaller call, std::function<void()> print,
                      QWidget *parent = nullptr);

    // For tests: where Send To asks for its file.
    void setFileChooser(FileChooser *chooser) { m_chooser = chooser; }

    QTableWidget *equipmentList() const { return m_equipment; }
    QTableWidget *transactionList() const { return m_transactions; }
    QString countText() const;

    void viewEquipment();
    void viewTransaction();
    void viewJournal();
    void sendTo();

private:
    void showTransactions();
    const DetailListing::ViewedEquipment *highlighted() const;
    const DetailListing::Line *highlightedLine() const;
    bool loadTransaction();

    QList<DetailListing::ViewedEquipment> m_data;
    data::Session &m_session;
    Prompter &m_prompter;
    ProcedureCaller m_call;
    FileChooser *m_chooser = nullptr;
    QTableWidget *m_equipment;
    QTableWidget *m_transactions;
    QLabel *m_count;
};

} // namespace qaveq
