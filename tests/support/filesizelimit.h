#pragma once

#include <sys/resource.h>

// While it lives, this process may write files only up to a size, and a
// write past it fails with EFBIG instead of killing the process: a full
// disk without filling one.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit previous{};
    void (*previousAction)(int);
};
