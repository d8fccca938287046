#include "SearchWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

SearchWindow::SearchWindow(Search::Mode mode, QList<Search::Candidate> candidates, QWidget *parent)
    : QDialog(parent)
    , m_all(std::move(candidates))
    , m_text(new QLineEdit(this))
    , m_list(new QTableWidget(0, 2, this))
{
    setWindowTitle(Search::caption(mode));
    m_text->setMaxLength(20);
    auto *goButton = new QPushButton(u"&Go"_s, this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Search Text:"_s, this));
    top->addWidget(m_text, 1);
    top->addWidget(goButton);
    m_list->setHorizontalHeaderLabels({Search::idHeader(mode), u"Description"_s});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 120);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    connect(goButton, &QPushButton::clicked, this, [this] { go(m_text->text()); });
    m_text->installEventFilter(this);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    go({});
    m_text->setFocus();
    resize(520, 420);
}

void SearchWindow::go(const QString &text)
{
    m_shown = Search::matching(m_all, text);
    m_list->setRowCount(static_cast<int>(m_shown.size()));
    for (int row = 0; row < m_shown.size(); ++row) {
        m_list->setItem(row, 0, new QTableWidgetItem(m_shown[row].id));
        m_list->setItem(row, 1, new QTableWidgetItem(m_shown[row].description));
    }
    if (!m_shown.isEmpty()) {
        m_list->selectRow(0);
        m_list->setFocus();
    }
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the search text runs Go; it does not close the window.
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            go(m_text->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int SearchWindow::shownRows() const
{
    return m_list->rowCount();
}

std::optional<QString> SearchWindow::highlighted() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_shown.size())
        return std::nullopt;
    return m_shown[row].id;
}

std::optional<QString> SearchWindow::choose(Search::Mode mode, QList<Search::Candidate> candidates,
                                            QWidget *parent)
{
    SearchWindow window(mode, std::move(candidates), parent);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.highlighted();
}

} // namespace qaveq
