// Makes every write beyond nBytes of any file fail (RLIMIT_FSIZE) for the
// object's lifetime: a full disk that works even for root.
#ifndef FILELIMIT_H
#define FILELIMIT_H

#include <csignal>

#ifdef _WIN32
// Windows has no such limit: tests that need it skip themselves.
class FileLimit
{
public:
    static constexpr bool kWorks = false;
    explicit FileLimit(unsigned long) {}
};
#else
#include <sys/resource.h>

class FileLimit
{
public:
    static constexpr bool kWorks = true;
    explicit FileLimit(rlim_t nBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = m_old;
        lim.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileLimit(const FileLimit&) = delete;
    FileLimit& operator=(const FileLimit&) = delete;

private:
    rlimit m_old;
    void (*m_oldHandler)(int);
};
#endif

// Ends the test here, as skipped, where files cannot be limited.
#define SKIP_WITHOUT_FILE_LIMIT()                                                                  \
    if (!FileLimit::kWorks)                                                                        \
    GTEST_SKIP() << "no file size limit on this system"

#endif
