#pragma once

#include "equipment/Search.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QTableWidget;

namespace qaveq {

// The search window: type a text, "Go" shows the candidates holding it, OK
// takes the highlighted identifier.
class SearchWindow : public QDialog
{
    Q_OBJECT

public:
    SearchWindow(Search::Mode mode, QList<Search::Candidate> candidates, QWidget *parent = nullptr);

    // The identifier chosen, nothing when cancelled.
    static std::optional<QString> choose(Search::Mode mode, QList<Search::Candidate> candidates,
                                         QWidget *parent);

    void go(const QString &text);
    int shownRows() const;
    std::optional<QString> highlighted() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<Search::Candidate> m_all;
    QList<Search::Candidate> m_shown;
    QLineEdit *m_text;
    QTableWidget *m_list;
};

} // namespace qaveq
