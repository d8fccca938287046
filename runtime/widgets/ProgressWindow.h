#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;

namespace qaveq {

// Drives a long pass in slices from a timer, showing how far it is, so the
// window stays responsive and Cancel (or Esc) is honoured between slices.
class ProgressWindow : public QDialog
{
    Q_OBJECT

public:
    struct Pass
    {
        std::function<bool()> slice;     // the next slice; false when the pass is over
        std::function<bool()> cancel;    // the user asked to cancel; true when the pass is over
        std::function<QString()> status; // a line above the bar; none when not given
        std::function<int()> percent;
        std::function<QString()> percentText;
        std::function<QString()> recordsText;
    };

    ProgressWindow(const QString &title, Pass pass, QWidget *parent = nullptr);

    // Runs the pass to its end.
    void run();

protected:
    void reject() override; // Cancel and Esc

private:
    void step();
    void refresh();

    Pass m_pass;
    QLabel *m_status;
    QProgressBar *m_progress;
    QLabel *m_percent;
    QLabel *m_records;
    QTimer *m_timer;
};

} // namespace qaveq
