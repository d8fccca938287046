#pragma once

#include <sys/resource.h>

#include <csignal>

namespace qaveq {

// While it lives, no file of the process may grow past `bytes`: a write past
// it fails as one to a full disk does, and the signal such a write raises
// is ignored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_previousHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // False when the limit could not be set.
    bool isSet() const { return m_set; }

private:
    void (*m_previousHandler)(int);
    rlimit m_saved{};
    bool m_set = false;
};

} // namespace qaveq
