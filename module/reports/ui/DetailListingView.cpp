#include "DetailListingView.h"

#include "records/EQHeader.h"

#include "runtime/widgets/ListExport.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/Company.h"
#include "data/Session.h"

#include "core/Picture.h"
#include "core/Prompter.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr int IndexRole = Qt::UserRole + 1;

const QStringList EquipmentHeadings{u"ID"_s, u"Description"_s, u"VIN"_s, u"License"_s};
const QStringList TransactionHeadings{u"Code"_s,     u"Description"_s, u"Date"_s,
                                      u"FPeriod"_s,  u"Journal ID"_s,  u"Transaction Description"_s,
                                      u"Quantity"_s, u"Unit"_s,        u"Transaction Amount"_s};

QTableWidget *table(const QStringList &headings, QWidget *parent)
{
    auto *widget = new QTableWidget(0, int(headings.size()), parent);
    widget->setHorizontalHeaderLabels(headings);
    widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->verticalHeader()->hide();
    widget->horizontalHeader()->setStretchLastSection(true);
    return widget;
}

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

DetailListingView::DetailListingView(QList<DetailListing::ViewedEquipment> equipment,
                                     data::Session &session, Prompter &prompter,
                                     ProcedureCaller call, std::function<void()> print,
                                     QWidget *parent)
    : QWidget(parent)
    , m_data(std::move(equipment))
    , m_session(session)
    , m_prompter(prompter)
    , m_call(std::move(call))
    , m_equipment(table(EquipmentHeadings, this))
    , m_transactions(table(TransactionHeadings, this))
    , m_count(new QLabel(this))
{
    m_equipment->setRowCount(int(m_data.size()));
    for (int row = 0; row < m_data.size(); ++row) {
        const DetailListing::ViewedEquipment &piece = m_data.at(row);
        const QStringList texts{piece.id, piece.description, piece.vin, piece.license};
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setData(IndexRole, row);
            m_equipment->setItem(row, column, item);
        }
    }
    m_equipment->setSortingEnabled(true);
    m_equipment->sortByColumn(0, Qt::AscendingOrder);
    m_equipment->resizeColumnsToContents();
    m_transactions->setSortingEnabled(true);
    m_count->setText(countText());

    auto *viewEquipment = new QPushButton(u"View &Equipment"_s, this);
    auto *viewTransaction = new QPushButton(u"View &Transaction"_s, this);
    auto *viewJournal = new QPushButton(u"View &Journal"_s, this);
    auto *send = new QPushButton(u"Send &To..."_s, this);
    auto *printButton = new QPushButton(u"&Print"_s, this);
    viewEquipment->setToolTip(u"View the highlighted equipment"_s);
    viewTransaction->setToolTip(u"View the highlighted transaction"_s);
    viewJournal->setToolTip(u"Browse the journal of the highlighted transaction"_s);
    printButton->setToolTip(u"Print the Equipment Detail Listing"_s);
    connect(viewEquipment, &QPushButton::clicked, this, &DetailListingView::viewEquipment);
    connect(viewTransaction, &QPushButton::clicked, this, &DetailListingView::viewTransaction);
    connect(viewJournal, &QPushButton::clicked, this, &DetailListingView::viewJournal);
    connect(send, &QPushButton::clicked, this, &DetailListingView::sendTo);
    connect(printButton, &QPushButton::clicked, this, [print] {
        if (print)
            print();
    });
    connect(m_equipment, &QTableWidget::itemSelectionChanged, this,
            &DetailListingView::showTransactions);
    connect(m_transactions, &QTableWidget::itemDoubleClicked, this,
            &DetailListingView::viewTransaction);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_equipment);
    splitter->addWidget(m_transactions);
    splitter->setStretchFactor(1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    for (QPushButton *button : {viewEquipment, viewTransaction, viewJournal, send, printButton})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);

    if (m_equipment->rowCount() > 0)
        m_equipment->selectRow(0);
}

QString DetailListingView::countText() const
{
    const qsizetype count = m_data.size();
    return QString::number(count) + (count == 1 ? u" Record"_s : u" Records"_s);
}

const DetailListing::ViewedEquipment *DetailListingView::highlighted() const
{
    const QTableWidgetItem *item = m_equipment->item(m_equipment->currentRow(), 0);
    if (!item)
        return nullptr;
    return &m_data.at(item->data(IndexRole).toInt());
}

const DetailListing::Line *DetailListingView::highlightedLine() const
{
    const DetailListing::ViewedEquipment *piece = highlighted();
    const QTableWidgetItem *item = m_transactions->item(m_transactions->currentRow(), 0);
    if (!piece || !item)
        return nullptr;
    return &piece->lines.at(item->data(IndexRole).toInt());
}

void DetailListingView::showTransactions()
{
    const DetailListing::ViewedEquipment *piece = highlighted();
    m_transactions->setSortingEnabled(false);
    m_transactions->setRowCount(0);
    if (!piece)
        return;
    const Picture date = Picture::parse(u"@d1");
    const Picture quantity = Picture::parse(u"@n-15.4");
    const Picture amount = Picture::parse(u"@n-19.2");
    m_transactions->setRowCount(int(piece->lines.size()));
    for (int row = 0; row < piece->lines.size(); ++row) {
        const DetailListing::Line &line = piece->lines.at(row);
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
        for (int column = 0; column < items.size(); ++column) {
            items.at(column)->setData(IndexRole, row);
            m_transactions->setItem(row, column, items.at(column));
        }
    }
    m_transactions->setSortingEnabled(true);
    m_transactions->resizeColumnsToContents();
    if (m_transactions->rowCount() > 0)
        m_transactions->selectRow(0);
}

void DetailListingView::viewEquipment()
{
    const DetailListing::ViewedEquipment *piece = highlighted();
    if (!piece || !m_call)
        return;
    EQHeader &buffer = m_session.buffer<EQHeader>();
    buffer.EquipmentID = piece->id;
    if (!m_session.company->file<EQHeader>().fetch(u"KeyEquipmentID", buffer))
        return;
    m_call(u"OVVIEWEQHEADER"_s);
}

bool DetailListingView::loadTransaction()
{
    const DetailListing::Line *line = highlightedLine();
    if (!line)
        return false;
    GLTrans &buffer = m_session.buffer<GLTrans>();
    buffer.RecordID = line->recordId;
    if (!m_session.company->file<GLTrans>().fetch(u"KeyRecordID", buffer)) {
        m_prompter.ask(Message{u"View Transaction"_s, u"The transaction is no longer on file."_s,
                               u"&OK"_s, 1, Message::Icon::Exclamation});
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

void DetailListingView::sendTo()
{
    const QString folder = ListExport::defaultFolder(u"Korvalis/EQ Detail Listing"_s);
    QDir().mkpath(folder);
    QtFileChooser desktop(this);
    FileChooser &chooser = m_chooser ? *m_chooser : desktop;
    const QString path = chooser.choose(
        FileChooser::Purpose::Save, u"Send To"_s, QDir(folder).filePath(u"EQ Detail Listing.csv"_s),
        u"Comma-separated values (*.csv);;Tab-separated text (*.txt)"_s);
    if (path.isEmpty())
        return;
    // Every transaction of every equipment, in the listing's columns.
    QList<QStringList> rows;
    const Picture date = Picture::parse(u"@d1");
    for (const DetailListing::ViewedEquipment &piece : std::as_const(m_data))
        for (const DetailListing::Line &line : piece.lines)
            rows.append({piece.id, piece.description, line.sectionCode, line.sectionDescription,
                         date.format(qint64(line.date)), QString::number(line.fiscalPeriod),
                         line.journalId, line.description, line.quantity.toString(), line.unit,
                         line.amount.toString(2)});
    const QStringList headers =
        QStringList{u"ID"_s, u"Equipment Description"_s} + TransactionHeadings;
    const ListExport::Format kind = path.endsWith(u".txt"_s, Qt::CaseInsensitive)
                                        ? ListExport::Format::Tab
                                        : ListExport::Format::Csv;
    if (const QString problem = ListExport::write(headers, rows, path, kind); !problem.isEmpty())
        m_prompter.ask(Message{u"Send To"_s, problem, u"&OK"_s, 1, Message::Icon::Exclamation});
}

} // namespace qaveq
