#pragma once

#include "writer/DesignedReports.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

// LISTEQREPORTS: the company's designed reports, to run, design, copy or
// delete, and a new one to design.
class DesignedReportsWindow : public QDialog
{
    Q_OBJECT

public:
    // Runs the report-writer procedure of a type on the session's report
    // writer settings (file name and edit action set by the window).
    using Runner = std::function<void(const QString &procedure)>;

    DesignedReportsWindow(data::Session &session, Prompter &prompter, Runner runner,
                          QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    // Reads the folders again, keeping the highlighted file where it can.
    void reload();

private:
    const DesignedReport *current() const;
    void start(const DesignedReport &report, int editAction);
    void designNew();
    void copyCurrent();
    void deleteCurrent();
    void updateButtons();
    void tell(const QString &text);

    data::Session &m_session;
    Prompter &m_prompter;
    Runner m_runner;
    QList<DesignedReport> m_reports;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_run = nullptr;
    QPushButton *m_design = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_delete = nullptr;
};

} // namespace qaveq
