// Serial ports through termios. Real ports and pseudo-terminals alike: a
// pseudo-terminal keeps no baud rate, refuses parity and 7 data bits and has
// no modem lines, so every setting is read back and what did not take is
// reported instead of failing the open.

#include "link/FdBackend.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

struct BaudEntry {
    unsigned long baud;
    speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600},   {115200, B115200},
};

bool SpeedOf(unsigned long baud, speed_t& speed)
{
    for (const auto& entry : kBauds) {
        if (entry.baud == baud) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

const char* ParityName(int parity)
{
    switch (parity) {
    case 1: return "odd";
    case 2: return "even";
    default: return "none";
    }
}

class SerialBackend : public FdBackend {
public:
    explicit SerialBackend(int fd) : FdBackend(fd) {}
    // Exclusive use outlives our descriptor while another holds the device
    // open (a simulated drive keeps its pseudo-terminal open).
    ~SerialBackend() override { ::ioctl(m_fd, TIOCNXCL); }

    void Discard() override
    {
        ::tcflush(m_fd, TCIFLUSH);
        // A pseudo-terminal may hold bytes the flush did not reach.
        DrainReadable();
    }
};

void AddLine(std::string& report, const std::string& line)
{
    if (!report.empty())
        report += '\n';
    report += line;
}

} // namespace

std::unique_ptr<LinkBackend> OpenSerialBackend(const std::string& path, const SerialSettings& settings,
                                               std::string& report)
{
    report.clear();
    speed_t speed;
    if (!SpeedOf(settings.baud, speed)) {
        report = "baud rate " + std::to_string(settings.baud) + " not supported";
        return nullptr;
    }
    if ((settings.dataBits != 7 && settings.dataBits != 8) || settings.parity < 0 || settings.parity > 2 ||
        (settings.stopBits != 1 && settings.stopBits != 2)) {
        report = "character format not supported";
        return nullptr;
    }

    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        report = path + ": " + std::strerror(errno);
        return nullptr;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        report = path + ": not a serial port";
        ::close(fd);
        return nullptr;
    }
    // Another program on the same port would corrupt every transaction.
    if (::ioctl(fd, TIOCEXCL) != 0)
        AddLine(report, "exclusive use not set");

    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= settings.dataBits == 7 ? CS7 : CS8;
    if (settings.parity != 0)
        tio.c_cflag |= PARENB | (settings.parity == 1 ? PARODD : 0);
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (settings.parity != 0)
        tio.c_iflag |= INPCK;
    // With VMIN 0 a read of an empty terminal returns 0, which cannot be told
    // from a hang-up; with VMIN 1 and O_NONBLOCK it fails with EAGAIN.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        AddLine(report, std::string("line settings refused: ") + std::strerror(errno));

    termios back{};
    if (::tcgetattr(fd, &back) == 0) {
        if (::cfgetospeed(&back) != speed)
            AddLine(report, "baud rate " + std::to_string(settings.baud) + " not set");
        if ((back.c_cflag & CSIZE) != (settings.dataBits == 7 ? CS7 : CS8))
            AddLine(report, std::to_string(settings.dataBits) + " data bits not set");
        int parityBack = (back.c_cflag & PARENB) ? ((back.c_cflag & PARODD) ? 1 : 2) : 0;
        if (parityBack != settings.parity)
            AddLine(report, std::string("parity ") + ParityName(settings.parity) + " not set");
        if (((back.c_cflag & CSTOPB) != 0) != (settings.stopBits == 2))
            AddLine(report, std::to_string(settings.stopBits) + " stop bits not set");
    }

    // A converter may draw its power from the modem lines.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &lines) != 0)
        AddLine(report, "modem lines not set");

    std::unique_ptr<LinkBackend> backend = std::make_unique<SerialBackend>(fd);
    backend->Discard();
    return backend;
}
