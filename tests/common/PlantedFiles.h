#pragma once
// What someone else may leave where the program expects a small file of its
// own: a FIFO (opening it for reading waits for a writer), a link to an
// endless device, a file far too large to be one of ours.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
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

// Standard error of this process into a pipe for one scope: unlike a file, a
// pipe takes the lines also while ScopedFileSizeLimit holds.
class StderrToPipe {
public:
    StderrToPipe()
    {
        if (::pipe(m_pipe) != 0)
            return;
        std::fflush(stderr);
        m_saved = ::dup(2);
        ::dup2(m_pipe[1], 2);
    }
    // Ends the capture; what was written meanwhile (at most a pipe's buffer).
    std::string Take()
    {
        if (m_saved < 0)
            return {};
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_saved = -1;
        ::close(m_pipe[1]);
        std::string text;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(m_pipe[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        ::close(m_pipe[0]);
        return text;
    }
    ~StderrToPipe() { Take(); }

private:
    int m_pipe[2] = {-1, -1};
    int m_saved = -1;
};
