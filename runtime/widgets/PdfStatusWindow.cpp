#include "PdfStatusWindow.h"

#include "core/Prompter.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

PdfStatusWindow::PdfStatusWindow(report::PdfGenerator &generator, Prompter &prompter,
                                 QWidget *parent)
    : QDialog(parent)
    , m_generator(generator)
    , m_prompter(prompter)
    , m_status(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_pageText(new QLabel(this))
    , m_timer(new QTimer(this))
{
    setWindowTitle(u"Generating PDF"_s);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setMinimumWidth(420);
    layout->addWidget(m_status);
    m_progress->setRange(0, 100);
    layout->addWidget(m_progress);
    layout->addWidget(m_pageText);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &PdfStatusWindow::reject);
    layout->addWidget(buttons);
    // One page each time the event loop is free: the window answers between
    // pages without holding the generation back.
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &PdfStatusWindow::step);
}

report::PdfGenerator::Result PdfStatusWindow::run(const report::PageList &pages, int pagesPerFile)
{
    if (!m_generator.begin(pages, pagesPerFile))
        return report::PdfGenerator::Result::NothingToDo;
    refresh();
    m_timer->start();
    exec();
    return m_generator.result();
}

void PdfStatusWindow::step()
{
    const bool more = m_generator.step();
    refresh();
    if (!more) {
        m_timer->stop();
        accept();
    }
}

void PdfStatusWindow::refresh()
{
    m_status->setText(m_generator.statusText());
    m_progress->setValue(m_generator.percent());
    m_pageText->setText(m_generator.pageText());
}

void PdfStatusWindow::reject()
{
    m_timer->stop();
    const int answer =
        m_prompter.ask(Message{u"Cancel PDF?"_s, u"Do you wish to Cancel the PDF Generation?"_s,
                               u"&Yes|&No"_s, 2, Message::Icon::Question});
    if (answer == 1) {
        m_generator.cancel();
        QDialog::reject();
        return;
    }
    m_timer->start();
}

} // namespace qaveq
