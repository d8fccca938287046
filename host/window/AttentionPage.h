#pragma once

#include "attention/AttentionList.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qaveq::host {

class HostSession;

// The first screen after sign-on: what needs attention today, grouped by kind
// with each group's count. Enter or a double click on a line asks for the
// screen where it is dealt with; the window refreshes the page when that
// screen closes.
class AttentionPage : public QWidget
{
    Q_OBJECT

public:
    explicit AttentionPage(HostSession &session, QWidget *parent = nullptr);

    // Reads the list again, keeping the highlighted line where it can.
    void refresh();

    QTreeWidget *tree() const { return m_tree; }
    // The thing a line of the tree stands for; none for a group's heading.
    static std::optional<AttentionItem> itemOf(const QTreeWidgetItem *line);

Q_SIGNALS:
    void openRequested(const qaveq::AttentionItem &item);

private:
    void openCurrent();

    HostSession &m_session;
    QLabel *m_heading = nullptr;
    QLabel *m_summary = nullptr;
    QTreeWidget *m_tree = nullptr;
    QPushButton *m_open = nullptr;
};

} // namespace qaveq::host
