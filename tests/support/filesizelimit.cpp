#include "support/filesizelimit.h"

#include <QtGlobal>

#include <csignal>

FileSizeLimit::FileSizeLimit(rlim_t bytes) : previousAction(std::signal(SIGXFSZ, SIG_IGN))
{
    if (::getrlimit(RLIMIT_FSIZE, &previous) != 0)
        qFatal("getrlimit(RLIMIT_FSIZE) failed");
    rlimit limited = previous;
    limited.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limited) != 0)
        qFatal("setrlimit(RLIMIT_FSIZE) failed");
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousAction);
}
