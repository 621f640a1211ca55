#pragma once
// Frequency entries of the keypad and the control window: what typing may
// leave in the field, and the word a text is written as.

#include <cstdint>
#include <string>

// The text the field keeps after a change from previous to typed: typed is
// undone (previous kept) when it starts with a point, holds a second point or
// any character that is neither a digit nor a point, or exceeds maxValue;
// a third digit after the point is dropped.
std::string FilterFrequencyText(const std::string& previous, const std::string& typed, double maxValue);

// The field's value ("" and "50." read as numbers as far as they go).
double FrequencyTextValue(const std::string& text);

// Hundredths of a hertz as both windows write them: trunc((v + 0.00001) x 100),
// before it is cut to 16 bits.
long FrequencyHundredths(double value);

// The keypad's check: lower x 0.01 - 0.000001 <= v <= upper x 0.01 + 0.000001.
bool KeypadFrequencyInRange(double value, unsigned lower, unsigned upper);
// The control window's check, on the hundredths before the cut to 16 bits
// (700.00 must not pass as 4464).
bool ControlFrequencyInRange(double value, unsigned lower, unsigned upper);
