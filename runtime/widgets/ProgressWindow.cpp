#include "ProgressWindow.h"

#include "DialogFrame.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace qaveq {

ProgressWindow::ProgressWindow(const QString &title, Pass pass, QWidget *parent)
    : QDialog(parent)
    , m_pass(std::move(pass))
    , m_status(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_percent(new QLabel(this))
    , m_records(new QLabel(this))
    , m_timer(new QTimer(this))
{
    setWindowTitle(title);
    useDialogFrame(this);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setVisible(bool(m_pass.status));
    layout->addWidget(m_status);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(420);
    layout->addWidget(m_progress);
    auto *texts = new QHBoxLayout;
    texts->addWidget(m_percent);
    texts->addStretch();
    texts->addWidget(m_records);
    layout->addLayout(texts);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressWindow::reject);
    layout->addWidget(buttons);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &ProgressWindow::step);
}

void ProgressWindow::run()
{
    refresh();
    m_timer->start();
    exec();
}

void ProgressWindow::step()
{
    const bool more = m_pass.slice();
    refresh();
    if (!more) {
        m_timer->stop();
        accept();
    }
}

void ProgressWindow::refresh()
{
    if (m_pass.status)
        m_status->setText(m_pass.status());
    m_progress->setValue(m_pass.percent());
    m_percent->setText(m_pass.percentText());
    m_records->setText(m_pass.recordsText());
}

void ProgressWindow::reject()
{
    m_timer->stop();
    if (m_pass.cancel()) {
        QDialog::reject();
        return;
    }
    m_timer->start();
}

} // namespace qaveq
