#pragma once

#include <QString>
#include <QStringList>

namespace qaveq::data {

class ErrorManager;
class IniManager;

// A module of the suite that the equipment module initialises with the
// host's managers and kills at the end: the data module and the sibling
// modules. Each keeps the managers it was given; the calls it received are
// written to a shared journal, so the order can be seen.
class SuiteModule
{
public:
    SuiteModule(QString name, QStringList *journal = nullptr)
        : m_name(std::move(name))
        , m_journal(journal)
    {}

    const QString &name() const { return m_name; }
    void init(ErrorManager *errors, IniManager *ini);
    void kill();

    ErrorManager *errorManager() const { return m_errors; }
    IniManager *iniManager() const { return m_ini; }

    // The data module of this process.
    static SuiteModule &dataModule();

private:
    QString m_name;
    QStringList *m_journal;
    ErrorManager *m_errors = nullptr;
    IniManager *m_ini = nullptr;
};

} // namespace qaveq::data
