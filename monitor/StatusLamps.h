#pragma once
// What the status monitor's pages show, as lists a page draws: lamps (picture
// and position on the page's 711 x 435 picture), running values as texts at
// their positions, and the same said in words for screen readers.

#include <string>
#include <vector>

constexpr unsigned kBitmapLampGreen = 183;
constexpr unsigned kBitmapLampOrange = 184;
constexpr unsigned kBitmapLampRed = 185;
constexpr unsigned kBitmapStatusPage = 186;
constexpr unsigned kBitmapTerminalPage = 188;

struct StatusLamp {
    int x = 0;
    int y = 0;
    unsigned bitmap = 0;
    const char* meaning = ""; // what the lit lamp says, in words
    bool operator==(const StatusLamp& other) const
    {
        return x == other.x && y == other.y && bitmap == other.bitmap;
    }
};

struct StatusText {
    int x = 0;
    int y = 0; // the line is centred on y
    std::string text;
    const char* caption = ""; // what the picture writes before it ("DC V")
    const char* unit = ""; // and after it, as a reader says it ("V")
};

// Lamps of the Status page for the status word 0x2520 (bits 0 to 3).
std::vector<StatusLamp> StatusPageLamps(int statusWord);
// Lamps of the Terminal page for the terminal word 0x2522 (S1 to S5, relay).
std::vector<StatusLamp> TerminalPageLamps(int terminalWord);

// The five running values (0x2523 to 0x2527, as read) at their places.
std::vector<StatusText> StatusPageValues(const int values[5]);

// "Running, Forward, Ready" and the like: the lit lamps in words.
std::string DescribeLamps(const std::vector<StatusLamp>& lamps);
