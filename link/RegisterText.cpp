#include "link/RegisterText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Fixed-point text of a double without the C locale's say in the decimal sign.
std::string FixedText(double value, int decimals)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// A decimal number: optional sign, digits, optional point and digits, at
// least one digit in all.
struct DecimalText {
    bool negative = false;
    std::string whole;    // digits before the point
    std::string fraction; // digits after it
};

bool ParseDecimal(const std::string& text, DecimalText& out)
{
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        out.negative = text[pos] == '-';
        ++pos;
    }
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        out.whole += text[pos++];
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            out.fraction += text[pos++];
    }
    return pos == text.size() && !(out.whole.empty() && out.fraction.empty());
}

WordError StoreWord(double value, uint16_t& word)
{
    if (!(value >= 0.0 && value <= 65535.0))
        return WordError::OutOfRange;
    word = static_cast<uint16_t>(value);
    return WordError::None;
}

WordError IntegerWord(const DecimalText& number, uint16_t& word)
{
    // Leading zeros do not count; more than five digits is out of range
    // whatever they are, which also keeps the sum below from overflowing.
    size_t first = number.whole.find_first_not_of('0');
    if (first == std::string::npos)
        return StoreWord(0.0, word);
    if (number.whole.size() - first > 5)
        return WordError::OutOfRange;
    double value = 0.0;
    for (size_t i = first; i < number.whole.size(); ++i)
        value = value * 10.0 + (number.whole[i] - '0');
    return StoreWord(number.negative ? -value : value, word);
}

WordError ScaledWord(const DecimalText& number, double scale, uint16_t& word)
{
    std::string digits = (number.whole.empty() ? "0" : number.whole) + "." + (number.fraction.empty() ? "0" : number.fraction);
    double value = 0.0;
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return WordError::OutOfRange; // only a value beyond double range fails here
    if (number.negative)
        value = -value;
    // The reader showed word x 0.1 or x 0.01 rounded to its decimals; the small
    // addition lifts a product such as 1.15 x 100 = 114.999... back to its word.
    return StoreWord(std::trunc(value * scale + 0.0001), word);
}

WordError BaseWord(const std::string& text, int base, uint16_t& word)
{
    if (text.empty())
        return WordError::NotANumber;
    unsigned long value = 0;
    bool tooLarge = false;
    for (char c : text) {
        int digit = c - '0';
        if (digit < 0 || digit >= base)
            return WordError::NotANumber;
        value = value * base + digit;
        if (value > 65535)
            tooLarge = true, value = 65536; // keep scanning for stray characters
    }
    if (tooLarge)
        return WordError::OutOfRange;
    word = static_cast<uint16_t>(value);
    return WordError::None;
}

} // namespace

std::string FormatRegisterText(char form, uint16_t v)
{
    char buffer[16];
    switch (form) {
    case '1':
        return FixedText(v * 0.1, 1);
    case '2':
        return FixedText(v * 0.01, 2);
    case '3':
        return FixedText(v * 0.001, 3);
    case '5':
        std::snprintf(buffer, sizeof buffer, "%05d", v);
        return buffer;
    case '4':
        std::snprintf(buffer, sizeof buffer, "%04d", v);
        return buffer;
    case 'b': {
        std::string text;
        for (int bit = 4; bit >= 0; --bit)
            text += (v >> bit) & 1 ? '1' : '0';
        return text;
    }
    case 'o': {
        std::string text;
        for (int shift = 12; shift >= 0; shift -= 3)
            text += static_cast<char>('0' + ((v >> shift) & 7));
        return text;
    }
    case '-':
        return "-----";
    default:
        std::snprintf(buffer, sizeof buffer, "%d", v);
        return buffer;
    }
}

WordError ConvertTextToWord(char form, const std::string& text, uint16_t& word)
{
    std::string trimmed = Trimmed(text);
    if (form == 'b')
        return BaseWord(trimmed, 2, word);
    if (form == 'o')
        return BaseWord(trimmed, 8, word);
    DecimalText number;
    if (!ParseDecimal(trimmed, number))
        return WordError::NotANumber;
    switch (form) {
    case '1':
        return ScaledWord(number, 10.0, word);
    case '2':
        return ScaledWord(number, 100.0, word);
    default:
        return IntegerWord(number, word);
    }
}

bool TextHasDecimalPoint(const std::string& text)
{
    return Trimmed(text).find('.') != std::string::npos;
}
