#include "DetailListingView.h"

#include "data/Company.h"
#include "data/Session.h"

#include "core/Picture.h"
#include "core/Prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr int IndexRole = Qt::UserRole + 1;
constexpr int DescriptionColumn = 5;

// A cell that sorts by its value, not its text: dates and amounts.
class SortedItem final : public QTableWidgetItem
{
public:
    SortedItem(const QString &text, double key)
        : QTableWidgetItem(text)
        , m_key(key)
    {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem &other) const override
    {
        if (const auto *sorted = dynamic_cast<const SortedItem *>(&other))
            return m_key < sorted->m_key;
        return QTableWidgetItem::operator<(other);
    }

private:
    double m_key;
};

} // namespace

DetailListingView::DetailListingView(DetailListing::ViewedEquipment equipment,
                                     data::Session &session, Prompter &prompter,
                                     ProcedureCaller call, QWidget *parent)
    : QWidget(parent)
    , m_equipment(std::move(equipment))
    , m_session(session)
    , m_prompter(prompter)
    , m_call(std::move(call))
    , m_transactions(new QTableWidget(this))
{
    m_transactions->setObjectName(u"TransactionList"_s);
    const QStringList headings{u"Code"_s,     u"Description"_s, u"Date"_s,
                               u"FPeriod"_s,  u"Journal ID"_s,  u"Transaction Description"_s,
                               u"Quantity"_s, u"Unit"_s,        u"Transaction Amount"_s};
    m_transactions->setColumnCount(int(headings.size()));
    m_transactions->setHorizontalHeaderLabels(headings);
    m_transactions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_transactions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_transactions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_transactions->verticalHeader()->hide();
    m_transactions->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    const Picture date = Picture::parse(u"@d1");
    const Picture quantity = Picture::parse(u"@n-15.4");
    const Picture amount = Picture::parse(u"@n-19.2");
    const QList<DetailListing::Line> &lines = m_equipment.lines;
    m_transactions->setRowCount(int(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const DetailListing::Line &line = lines.at(row);
        const QList<QTableWidgetItem *> items{
            new QTableWidgetItem(line.sectionCode),
            new QTableWidgetItem(line.sectionDescription),
            new SortedItem(date.format(qint64(line.date)), line.date),
            new SortedItem(QString::number(line.fiscalPeriod), line.fiscalPeriod),
            new QTableWidgetItem(line.journalId),
            new QTableWidgetItem(line.description),
            new SortedItem(quantity.format(line.quantity).trimmed(), line.quantity.toDouble()),
            new QTableWidgetItem(line.unit),
            new SortedItem(amount.format(line.amount).trimmed(), line.amount.toDouble())};
        items.at(DescriptionColumn)->setToolTip(line.description);
        for (int column = 0; column < items.size(); ++column) {
            items.at(column)->setData(IndexRole, row);
            m_transactions->setItem(row, column, items.at(column));
        }
    }
    m_transactions->setSortingEnabled(true);
    // Every column as wide as its contents but the transaction description,
    // which takes what is left so that the amounts stay in sight; a long
    // description shows whole as the cell's tip.
    m_transactions->resizeColumnsToContents();
    m_transactions->horizontalHeader()->setSectionResizeMode(DescriptionColumn,
                                                             QHeaderView::Stretch);
    if (m_transactions->rowCount() > 0)
        m_transactions->selectRow(0);

    auto *viewTransaction = new QPushButton(u"View &Transaction"_s, this);
    auto *viewJournal = new QPushButton(u"View &Journal"_s, this);
    viewTransaction->setToolTip(u"View the highlighted transaction"_s);
    viewJournal->setToolTip(u"Browse the journal of the highlighted transaction"_s);
    connect(viewTransaction, &QPushButton::clicked, this, &DetailListingView::viewTransaction);
    connect(viewJournal, &QPushButton::clicked, this, &DetailListingView::viewJournal);
    connect(m_transactions, &QTableWidget::itemDoubleClicked, this,
            &DetailListingView::viewTransaction);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(viewTransaction);
    buttons->addWidget(viewJournal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_transactions);
    layout->addLayout(buttons);
}

const DetailListing::Line *DetailListingView::highlightedLine() const
{
    const QTableWidgetItem *item = m_transactions->item(m_transactions->currentRow(), 0);
    if (!item)
        return nullptr;
    return &m_equipment.lines.at(item->data(IndexRole).toInt());
}

bool DetailListingView::loadTransaction()
{
    const DetailListing::Line *line = highlightedLine();
    if (!line)
        return false;
    GLTrans &buffer = m_session.buffer<GLTrans>();
    buffer.RecordID = line->recordId;
    if (!m_session.company->file<GLTrans>().fetch(u"KeyRecordID", buffer)) {
        m_prompter.ask(
            Message::alert(u"View Transaction"_s, u"The transaction is no longer on file."_s));
        return false;
    }
    return true;
}

void DetailListingView::viewTransaction()
{
    if (m_call && loadTransaction())
        m_call(u"OVVIEWTRANSACTION"_s);
}

void DetailListingView::viewJournal()
{
    if (m_call && loadTransaction())
        m_call(u"OVBROWSEGLJOURNAL"_s);
}

} // namespace qaveq
