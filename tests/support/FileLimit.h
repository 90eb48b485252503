// Makes every write beyond nBytes of any file fail (RLIMIT_FSIZE) for the
// object's lifetime: a full disk that works even for root.
#ifndef FILELIMIT_H
#define FILELIMIT_H

#include <csignal>
#include <sys/resource.h>

class FileLimit
{
public:
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
