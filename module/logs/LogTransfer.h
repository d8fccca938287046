#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qaveq {

class Prompter;
class UsageLogBatches;

namespace data {
class Session;
}

// Copying and moving logs between batches: Copy or Move remembers the logs
// and the batch they come from, Paste (or a drop on a batch) transfers them in
// one transaction on EQLogB. A copy gets new log numbers; a move changes only
// the logs' batch number. Either all the logs are transferred or none.
class LogTransfer
{
public:
    enum class Mode { None, Copy, Move };

    LogTransfer(data::Session &session, Prompter &prompter, UsageLogBatches &batches);

    // "Copy" or "Move": replaces whatever was remembered before.
    void collect(Mode mode, const QList<qint32> &logIds, quint16 source);
    Mode mode() const { return m_mode; }
    // "Copy", "Move" or blank.
    QString modeText() const;
    const QList<qint32> &logs() const { return m_logs; }
    quint16 source() const { return m_source; }
    void clear();

    struct Done
    {
        // The batch the list highlights next: the target when the user asks
        // to follow pasted logs, else the source.
        quint16 highlight = 0;
        // The copies' new log numbers, in the order of the logs copied.
        QList<qint32> created;
    };
    // Paste: the remembered logs into `target`. Nothing when nothing was
    // transferred (said why, if anything went wrong).
    std::optional<Done> paste(quint16 target);
    // A drag dropped on a batch; a drop on the batch the logs come from does nothing.
    std::optional<Done> drop(Mode mode, const QList<qint32> &logIds, quint16 source,
                             quint16 target);

private:
    bool transfer(quint16 target, QList<qint32> &created);
    void fail(const QString &text);

    data::Session &m_session;
    Prompter &m_prompter;
    UsageLogBatches &m_batches;
    Mode m_mode = Mode::None;
    QList<qint32> m_logs;
    quint16 m_source = 0;
};

} // namespace qaveq
