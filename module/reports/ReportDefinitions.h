#pragma once

#include "ReportFamily.h"

#include "data/FileError.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace qaveq {

class Clock;
class Prompter;
struct EQLimits;
struct MemLimit;

namespace data {
class Company;
class Session;
} // namespace data

// What users do with saved report definitions besides editing them: the
// values of a new definition and of "Load Defaults", the owner's lock,
// delete, duplicate, favourites, and handing a definition to its report.
// Every multi-record write runs in one transaction; a run that cannot have
// it writes nothing and says so.
class ReportDefinitions
{
public:
    // Prints through the procedure of that name (the family's dispatch).
    using Caller = std::function<void(const QString &procedure)>;

    ReportDefinitions(data::Session &session, Prompter &prompter, const Clock &clock);

    // The values a new definition starts with; "Load Defaults" sets the same
    // over a cleared record that keeps only its number and title.
    static void prime(EQLimits &definition, ReportFamily family, const QString &user);
    static void loadDefaults(EQLimits &definition, ReportFamily family, const QString &user);
    // Blanks a form fills when it opens (orientation, sort, owner).
    static void fillBlanks(EQLimits &definition, ReportFamily family, const QString &user);

    // Locked by its owner, and the signed-on user is someone else.
    bool lockedAgainstMe(const EQLimits &definition) const;
    // Refuses deleting another user's locked definition (having said so); a
    // lock whose owner no longer exists does not hold.
    bool refusesDelete(const EQLimits &definition);
    // Deletes the definition with its list entries and the favourites that
    // name it, so that a later definition given the same number starts clean.
    bool remove(quint32 limitId);
    // Removes the list entries and favourites of a definition already
    // deleted (by the form); within the caller's transaction when there is one.
    data::FileStatus removeDependents(quint32 limitId);

    // "Copy of " + the title, owned by the signed-on user, unlocked, with the
    // list entries copied under the new number. Returns the new number.
    std::optional<quint32> duplicate(quint32 limitId);

    // Asks before "Load Defaults" replaces what the form shows.
    bool confirmLoadDefaults();
    // The list entries of a definition, dropped by "Load Defaults" of the
    // families that keep lists of equipment, categories and jobs.
    bool deleteListEntries(quint32 limitId);

    enum class Favourite { Added, AlreadyAdded, Failed };
    Favourite addFavourite(const EQLimits &definition);
    // The signed-on user's favourites in the order the suite keeps them.
    static QList<MemLimit> favourites(data::Company &company, const QString &user);

    // Print from a list: the highlighted definition (none when the list is
    // empty) is handed to its family's dispatch. A definition stored without
    // a number gets one first. The preview switch is on again afterwards.
    bool print(std::optional<EQLimits> highlighted, const Caller &call);
    // View from a list: the on-screen view mode for the report, then Print.
    bool view(std::optional<EQLimits> highlighted, const Caller &call);
    // The on-screen view mode of a definition, or none after saying why.
    std::optional<int> viewModeFor(const EQLimits &definition);
    // Hands a stored definition's number to its report and reads the
    // definition back afterwards (the report may have numbered it).
    void dispatch(EQLimits &definition, const Caller &call);

    // The definition of that number; none when it is not on file.
    std::optional<EQLimits> find(quint32 limitId) const;
    // The definition whose number was handed to a report in the session's
    // report filter; none when it is not on file.
    static std::optional<EQLimits> handedOver(const data::Session &session);

private:
    void tell(const QString &caption, const QString &text);

    data::Session &m_session;
    Prompter &m_prompter;
    const Clock &m_clock;
};

} // namespace qaveq
