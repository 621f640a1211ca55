#pragma once
// One parameter of the table, every value held as text in the drive's display
// form ("50.00", "1430", "0").

#include <string>

struct ParamRec {
    std::string m_strLabel;   // "GG-NN" followed directly by the name
    std::string m_strFactory; // factory default
    std::string m_strValue;   // set value of the project
    std::string m_strRead;    // value last read from a drive
    std::string m_strRemark;  // text after '*' in the definition line
    int m_bDefined = 0;       // 1 for a real parameter, 0 for a placeholder
};
