#include "ErrorManager.h"

namespace qaveq::data {

void ErrorManager::savePending(const FileError &error)
{
    (error.code == FileErrorCode::FileSystemError ? m_pendingDriver : m_pendingOther) = error;
}

std::optional<FileError> ErrorManager::takePending()
{
    std::optional<FileError> pending = m_pendingDriver ? m_pendingDriver : m_pendingOther;
    m_pendingDriver.reset();
    m_pendingOther.reset();
    return pending;
}

void ErrorManager::halt(const QString &text)
{
    m_haltText = text;
    if (m_halt)
        m_halt(text);
}

} // namespace qaveq::data
