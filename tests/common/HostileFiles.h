#pragma once
// What a user may name in a file chooser, by mistake or made so, that no
// reader may take: a FIFO (opening it for reading waits for a writer), a link
// to an endless device, a folder, a file of one 50 MB line, 200 MB of line
// ends, and a good file with 200 MB after it.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

enum class Hostile { Fifo, LinkToDevZero, Folder, LongLine, LineEnds, LargeTail };

inline constexpr Hostile kHostileKinds[] = {Hostile::Fifo,     Hostile::LinkToDevZero, Hostile::Folder,
                                            Hostile::LongLine, Hostile::LineEnds,      Hostile::LargeTail};

inline const char* HostileName(Hostile kind)
{
    switch (kind) {
    case Hostile::Fifo:
        return "a FIFO";
    case Hostile::LinkToDevZero:
        return "a link to /dev/zero";
    case Hostile::Folder:
        return "a folder";
    case Hostile::LongLine:
        return "a 50 MB line";
    case Hostile::LineEnds:
        return "200 MB of line ends";
    case Hostile::LargeTail:
        return "a good file with 200 MB after it";
    }
    return "";
}

// Writes bytes of byte after what the file holds, a megabyte at a time.
inline bool AppendBytes(const std::string& path, char byte, std::size_t bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    const std::string piece(1u << 20, byte);
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes; done += piece.size())
        ok = std::fwrite(piece.data(), 1, std::min(piece.size(), bytes - done), file) == std::min(piece.size(), bytes - done);
    return std::fclose(file) == 0 && ok;
}

// Makes kind at path; good is a file the reader would take, the start of the
// long line's file and of the one with a tail.
inline bool MakeHostile(Hostile kind, const std::string& path, const std::string& good)
{
    ::unlink(path.c_str());
    ::rmdir(path.c_str());
    auto writeGood = [&](const std::string& after) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        bool ok = std::fwrite(good.data(), 1, good.size(), file) == good.size()
                  && std::fwrite(after.data(), 1, after.size(), file) == after.size();
        return std::fclose(file) == 0 && ok;
    };
    switch (kind) {
    case Hostile::Fifo:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case Hostile::LinkToDevZero:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Hostile::Folder:
        return ::mkdir(path.c_str(), 0700) == 0;
    case Hostile::LongLine:
        return writeGood("\r\n") && AppendBytes(path, 'x', 50u << 20);
    case Hostile::LineEnds: {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        std::string piece;
        for (int i = 0; i < (1 << 19); ++i)
            piece += "\r\n";
        bool ok = true;
        for (int i = 0; ok && i < 200; ++i)
            ok = std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
        return std::fclose(file) == 0 && ok;
    }
    case Hostile::LargeTail:
        // Zeros, and sparse: the size is there, the disk is not taken.
        return writeGood("") && ::truncate(path.c_str(), static_cast<off_t>(good.size() + (200u << 20))) == 0;
    }
    return false;
}

// Removes what MakeHostile made.
inline void RemoveHostile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        ::rmdir(path.c_str());
}

// Should a reader wait in open() on a FIFO after all, a writer comes along
// after some seconds and lets it go: the test then fails instead of hanging.
class FifoRescue {
public:
    explicit FifoRescue(std::string path, std::chrono::seconds after = std::chrono::seconds(10))
        : m_thread([this, path = std::move(path), after] {
              const auto deadline = std::chrono::steady_clock::now() + after;
              while (!m_done && std::chrono::steady_clock::now() < deadline)
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              while (!m_done) {
                  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      m_rescued = true;
                      ::close(fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~FifoRescue()
    {
        m_done = true;
        m_thread.join();
    }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;

    // Whether a reader was found waiting.
    bool Rescued() const { return m_rescued; }

private:
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_rescued{false};
    std::thread m_thread;
};
