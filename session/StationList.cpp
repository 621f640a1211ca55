#include "session/StationList.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <algorithm>

namespace {

constexpr int kHighestStation = 32;
// A number with more digits than this is out of range whatever its value (and
// is never converted, so it cannot overflow).
constexpr std::size_t kLongestNumber = 5;

bool IsNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int NumberValue(const std::string& digits)
{
    return digits.size() > kLongestNumber ? kHighestStation + 1 : std::stoi(digits);
}

int Refuse(std::vector<int>& stations, const std::string& text)
{
    AfxMessageBox(text, MB_OK);
    stations.clear();
    return 0;
}

int Refuse(std::vector<int>& stations, unsigned id)
{
    AfxMessageBox(id, MB_OK);
    stations.clear();
    return 0;
}

int RefuseItem(std::vector<int>& stations, const std::string& item)
{
    // An empty item would read as the broadcast station 0, and "1x" as 1.
    return Refuse(stations, FormatResString(IDS_STATION_ITEM_INVALID, item.c_str()));
}

// 1 when station was appended, else the refusal's 0.
int AddStation(std::vector<int>& stations, int station, const std::string& item)
{
    if (station > kHighestStation)
        return Refuse(stations, IDS_STATION_ABOVE_32);
    if (station == 0)
        return RefuseItem(stations, item);
    if (std::find(stations.begin(), stations.end(), station) != stations.end())
        return Refuse(stations, IDS_STATION_REPEAT);
    stations.push_back(station);
    return 1;
}

} // namespace

int ParseStationList(std::vector<int>& stations, const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t comma = text.find(',', start);
        std::size_t end = comma == std::string::npos ? text.size() : comma;
        std::string item = text.substr(start, end - start);
        start = end + 1;

        std::size_t dash = item.find('-');
        if (dash == std::string::npos) {
            if (!IsNumber(item))
                return RefuseItem(stations, item);
            if (!AddStation(stations, NumberValue(item), item))
                return 0;
            continue;
        }
        std::string first = item.substr(0, dash);
        std::string last = item.substr(dash + 1);
        if (!IsNumber(first) || !IsNumber(last))
            return RefuseItem(stations, item);
        int from = NumberValue(first);
        int to = NumberValue(last);
        if (last.size() > kLongestNumber)
            return Refuse(stations, IDS_STATION_ABOVE_32);
        if (from > to)
            return Refuse(stations, IDS_STATION_RANGE_ORDER);
        for (int station = from; station <= to; ++station) {
            if (!AddStation(stations, station, item))
                return 0;
        }
    }
    return 1;
}
