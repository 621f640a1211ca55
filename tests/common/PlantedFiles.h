#pragma once
// What someone else may leave where the program expects a small file of its
// own: a FIFO (opening it for reading waits for a writer), a link to an
// endless device, a file far too large to be one of ours.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>

enum class Planted { Fifo, LinkToDevZero, HugeFile };

inline const char* PlantedName(Planted kind)
{
    switch (kind) {
    case Planted::Fifo:
        return "a FIFO";
    case Planted::LinkToDevZero:
        return "a link to /dev/zero";
    case Planted::HugeFile:
        return "a 1 GB file";
    }
    return "";
}

// Creates the thing at path; false when the system refused.
inline bool Plant(Planted kind, const std::string& path)
{
    ::unlink(path.c_str());
    switch (kind) {
    case Planted::Fifo:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case Planted::LinkToDevZero:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Planted::HugeFile: {
        // Sparse: it takes no room on the disk, only its size is large.
        { std::ofstream(path, std::ios::binary) << "1\n/x.zrv\n"; }
        return ::truncate(path.c_str(), 1L << 30) == 0;
    }
    }
    return false;
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

// A disk that is full after a few bytes: writes of this process past bytes
// fail with EFBIG (the signal the limit sends is ignored meanwhile).
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~ScopedFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
