#pragma once

#include <QString>

namespace qaveq {
class Clock;
}

namespace qaveq::data {
class Company;
class Session;
} // namespace qaveq::data

namespace qaveq::host {

// One station of a company, a window or a command-line run alike, from
// sign-on to sign-off. Signing on checks the user against the company's user
// file, gives the session the user's rights and the company's settings, and
// writes the station's network-user record (its machine and process), after
// removing the records of stations on this machine whose process is gone.
// The record is removed again when the station ends.
class Station
{
public:
    // The company's administrator, the only user who changes company-wide
    // settings such as the logging level.
    static constexpr QStringView Administrator = u"ADM";

    Station(data::Session &session, const Clock &clock);
    ~Station();
    Station(const Station &) = delete;
    Station &operator=(const Station &) = delete;

    // False, with the reason in `error` ("|" breaks lines), when the user is
    // not in the company's user file or the record cannot be written.
    bool signOn(const QString &userId, QString *error);
    void signOff();

    // Gives a company without users its first administrator; true when one
    // was added.
    static bool ensureAdministrator(data::Company &company);
    // Removes the network-user records of stations on this machine whose
    // process no longer runs; returns how many.
    static int removeGoneStations(data::Company &company);
    // Whether the station a record names is still running; a record of
    // another machine (or one written before stations kept their process) is
    // taken as running.
    static bool isRunning(const QString &host, qint64 processId);
    static QString thisHost();

private:
    data::Session &m_session;
    const Clock &m_clock;
    bool m_recordWritten = false;
};

} // namespace qaveq::host
