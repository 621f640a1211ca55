#pragma once
// Every file the program reads goes through here: the projects, imports and
// settings a user names as much as the files it keeps for itself. Only a
// regular file within a size bound is read, and that is known before the
// first byte is: a FIFO would hold the caller until some writer appears, a
// link to a device such as /dev/zero would feed it without end, and a file
// far larger than any the program writes would take its memory, and the open
// project with it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>

enum class FileCheck {
    Ok,         // open, a regular file within the bound
    Missing,    // no such file
    CannotOpen, // there, but the system refused it (osError, reason)
    NotRegular, // a folder, FIFO, device, socket (or a link where none is taken): not opened for reading
    TooLarge,   // a regular file past the bound: nothing read
};

struct FileRules {
    std::uint64_t maxBytes = 0;
    // The files a user names may be links to files; the program's own small
    // files in shared folders may not.
    bool followLinks = true;
};

// "16 MB", "64 KB" or "1000 bytes": a bound as a user reads it.
std::string FileSizeText(std::uint64_t bytes);

class CRegularFile {
public:
    CRegularFile() = default;
    ~CRegularFile();
    CRegularFile(const CRegularFile&) = delete;
    CRegularFile& operator=(const CRegularFile&) = delete;

    // Opens path for reading without blocking and without becoming its
    // controlling terminal, after looking at what path is: anything but a
    // regular file is refused unopened (opening a device may act on it).
    // What is opened is looked at again, in case path changed meanwhile.
    FileCheck Open(const std::string& path, const FileRules& rules);
    void Close();

    // The descriptor, now the caller's to close.
    int Release();

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // The size when it was opened.
    std::uint64_t Size() const { return static_cast<std::uint64_t>(m_status.st_size); }
    const struct stat& Status() const { return m_status; }
    std::uint64_t MaxBytes() const { return m_maxBytes; }
    // Why the last Open or ReadAll did not succeed, in English, for a message
    // after the file's name ("it is a FIFO, not a file").
    const std::string& Reason() const { return m_reason; }
    // The system's error of a failed open or read (errno); 0 otherwise.
    int OsError() const { return m_osError; }

    // Up to count bytes from the current position; EINTR is taken care of.
    // -1 (OsError set) on a failed read, 0 at the end.
    long Read(char* buffer, std::size_t count);
    // The whole file from the start. Never more than the bound: a file that
    // grew past it since Open is TooLarge, and bytes is left empty; a failed
    // read is CannotOpen.
    FileCheck ReadAll(std::string& bytes);

    // The message for a file refused by Open (NotRegular, TooLarge): it names
    // the file and says that nothing changed.
    std::string RefusalText(const std::string& path) const;

private:
    int m_fd = -1;
    struct stat m_status {};
    std::uint64_t m_maxBytes = 0;
    std::string m_reason;
    int m_osError = 0;
};

// Opens and reads a whole file under rules: Ok with bytes, or the refusal
// with its reason (Reason of a CRegularFile).
FileCheck ReadRegularFile(const std::string& path, const FileRules& rules, std::string& bytes, std::string& reason);
