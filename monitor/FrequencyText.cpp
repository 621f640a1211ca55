#include "monitor/FrequencyText.h"

#include <cmath>
#include <cstdlib>

double FrequencyTextValue(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

std::string FilterFrequencyText(const std::string& previous, const std::string& typed, double maxValue)
{
    if (!typed.empty() && typed[0] == '.')
        return previous;
    std::size_t points = 0;
    for (char c : typed) {
        if (c == '.')
            ++points;
        else if (c < '0' || c > '9')
            return previous;
    }
    if (points > 1 || FrequencyTextValue(typed) > maxValue)
        return previous;
    const std::size_t point = typed.find('.');
    if (point != std::string::npos && typed.size() - point - 1 > 2)
        return typed.substr(0, typed.size() - 1);
    return typed;
}

long FrequencyHundredths(double value)
{
    return static_cast<long>(std::trunc((value + 0.00001) * 100));
}

bool KeypadFrequencyInRange(double value, unsigned lower, unsigned upper)
{
    return lower * 0.01 - 0.000001 <= value && value <= upper * 0.01 + 0.000001;
}

bool ControlFrequencyInRange(double value, unsigned lower, unsigned upper)
{
    const long hundredths = FrequencyHundredths(value);
    return static_cast<long>(lower) <= hundredths && hundredths <= static_cast<long>(upper);
}
