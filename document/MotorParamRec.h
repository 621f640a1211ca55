#pragma once
// One line of a motor-parameter file: a five-character code and its text.

#include <string>

struct MotorParamRec {
    std::string m_strCode; // first 5 characters of the left-trimmed line
    std::string m_strText; // the line from its 7th character on
};
