#pragma once

#include "runtime/report/PdfGenerator.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

namespace qaveq {

class Prompter;

// "Generating PDF": runs a generation one page per timer event, so the
// window stays responsive, and asks before it cancels.
class PdfStatusWindow : public QDialog
{
    Q_OBJECT

public:
    PdfStatusWindow(report::PdfGenerator &generator, Prompter &prompter, QWidget *parent = nullptr);

    // Runs the generation of `pages` to its end or until cancelled.
    report::PdfGenerator::Result run(const report::PageList &pages, int pagesPerFile = 0);

protected:
    void reject() override; // Cancel and Esc

private:
    void step();
    void refresh();

    report::PdfGenerator &m_generator;
    Prompter &m_prompter;
    QLabel *m_status;
    QProgressBar *m_progress;
    QLabel *m_pageText;
    QTimer *m_timer;
};

} // namespace qaveq
