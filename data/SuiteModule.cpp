#include "SuiteModule.h"

namespace qaveq::data {

void SuiteModule::init(ErrorManager *errors, IniManager *ini)
{
    m_errors = errors;
    m_ini = ini;
    if (m_journal)
        m_journal->append(m_name + QStringLiteral(":INIT"));
}

void SuiteModule::kill()
{
    if (m_journal)
        m_journal->append(m_name + QStringLiteral(":KILL"));
}

SuiteModule &SuiteModule::dataModule()
{
    static SuiteModule module(QStringLiteral("QAVDATA"));
    return module;
}

} // namespace qaveq::data
