#pragma once

#include "data/FileError.h"

#include "core/Decimal.h"
#include "core/SuiteDate.h"

#include <QList>
#include <QString>

#include <chrono>
#include <optional>

namespace qaveq {

class Clock;
class Prompter;
struct EQBatch;
struct EQLogB;

namespace data {
class Company;
class Session;
} // namespace data

// What the usage-log window does with batches, without a window: new batches,
// the tags and the in-use flag that keeps two users out of one batch, secure
// batches, deleting batches and logs, holding a batch while a log is entered,
// and the hand-off to posting. Messages go through the prompter; the tags are
// the session's TAGQUE.
class UsageLogBatches
{
public:
    static constexpr std::chrono::milliseconds WriteWait{5000};
    static constexpr QStringView ActivityArea = u"EQ Usage Logs";

    enum class ShowTags { All, Tagged, UnTagged };
    static ShowTags next(ShowTags shown);
    static QString caption(ShowTags shown);

    // How the log pane of a highlighted batch looks to the signed-on user.
    struct Pane
    {
        QString title;
        bool logsShown = true;
        bool enabled = true;
    };
    Pane paneFor(const EQBatch &batch) const;
    // The batches whose logs the signed-on user may read, or with `writing`
    // add to, in the manual order of the batch list.
    QList<EQBatch> open(bool writing) const;

    // Another user's secure batch, on every path (window, entry form, import,
    // export, proof listing, command line): its logs may be read at security
    // 1 and not at all at 2, and never changed. Returns why `session`'s user
    // may not use the batch so, in the log pane's words; empty when allowed.
    enum class Use { Read, Change };
    static QString secureRefusal(const data::Session &session, const EQBatch &batch, Use use);
    // The same refusal said through the prompter; true when refused.
    bool refuseSecure(const EQBatch &batch, Use use);
    // Why logs cannot go into or out of a batch that another signed-on user
    // holds (its in-use flag), or nothing. A flag left by a user who is no
    // longer signed on does not refuse.
    static QString inUseRefusal(const data::Session &session, const EQBatch &batch);

    UsageLogBatches(data::Session &session, Prompter &prompter, const Clock &clock);

    // "Insufficient Access" for a user who may only view usage logs; true
    // when the action is refused.
    bool refuseReadOnly();

    // A new batch: the next batch number (unless one was given) and the next
    // place in the manual order, both taken under the batch file's
    // transaction so that two users adding at the same moment get different ones.
    static data::FileStatus insertBatch(data::Company &company, EQBatch &batch);
    // The same, saying why it failed.
    bool addBatch(EQBatch &batch);
    // What adding it did, in one line: "Added batch 4, Week 12."
    static QString addedText(const EQBatch &batch);

    const QList<quint16> &tags() const;
    bool isTagged(quint16 batchId) const;
    // "&Tag": untags a tagged batch, else takes its in-use flag and tags it.
    // Returns true when the tag set changed.
    bool tag(quint16 batchId);
    // Refused whole when a batch not tagged here is in use by another user.
    bool tagAll();
    void untagAll();
    void reverseTags();
    // The window closes: the tagged batches are given free.
    void releaseTagged();

    // Add and Change of a log hold the batch for the entry form; release()
    // gives it free again when the form returns.
    bool holdForEntry(quint16 batchId, bool adding);
    void releaseHeld();
    quint16 held() const { return m_held; }

    bool deleteBatch(quint16 batchId);
    bool deleteLog(qint32 logId);

    // What a posting run posted: its logs and their amount, the G/L journal
    // it wrote, and the tagged batches that held no logs.
    struct Posted
    {
        QList<quint16> batches;
        QList<quint16> empty;
        int logs = 0;
        Decimal amount;
        qint32 journal = 0;
        // Said to the user after the run, "|" between lines.
        QString summary() const;
    };
    // "&Post Tagged Batches": the posting run and the re-dating of the
    // repeating batches in one transaction, so that after a failure (or a
    // crash) at any point the batches are posted once or not at all. Nothing
    // when nothing was posted; the prompter has said why. When every tagged
    // batch is empty, it says so and posts nothing.
    std::optional<Posted> postTagged(quint16 highlighted);

    // The date a log of a repeating batch moves to after posting.
    static DayNumber redated(const EQBatch &batch, DayNumber date);

    // Why a batch could not be read, for the user: "There is no batch 999."
    // when it does not exist, else the file layer's text and the action.
    static QString batchUnread(const data::FileError &error, quint16 batchId);

    static QString recordCount(qint64 count);
    // How the activity log names a batch: "log entry batch (3) Week 12",
    // after "Added ", "Changed " or "Deleted ".
    static QString batchText(const EQBatch &batch);
    // A user-log entry in the usage logs' area (at logging level 2).
    void activity(const QString &text);
    // How the activity log names a log: "a log entry for equipment LDR-1,
    // 8.00 HRS on 3/15/26", after "Added ", "Changed " or "Deleted ".
    static QString logEntryText(data::Company &company, const EQLogB &log);

private:
    enum class Take { Taken, Held, Failed };
    Take takeFlag(quint16 batchId, const QString &allowedHolder, QString *holder);
    // Takes the flag, asking "Batch In Use" first when a signed-on user holds it.
    bool acquire(quint16 batchId, bool ask);
    // Blanks the flags of these batches that this user holds.
    void release(const QList<quint16> &batchIds);
    bool fetch(quint16 batchId, EQBatch &batch);
    bool foreignSecure(const EQBatch &batch) const;
    bool signedOn(const QString &user) const;
    bool askInUse(const QString &holder);
    void stop(const QString &caption, const QString &text);
    void fail(const QString &text);
    bool claimPosting();
    void endPosting();
    bool redateTagged();
    std::optional<Posted> postAndRedate();
    QString companyId() const;

    data::Session &m_session;
    Prompter &m_prompter;
    const Clock &m_clock;
    quint16 m_held = 0;
    // The posting run wrote the user's network-user record itself (the
    // station that had it ended meanwhile): the run's end takes it away.
    bool m_postingRecordWritten = false;
};

} // namespace qaveq
