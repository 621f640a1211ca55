#pragma once
// One row of the initial-values file: KEY ':' V0 ',' V1 ',' ... Rows are used
// by their position; the key is carried along.

#include <string>
#include <vector>

struct InitParamRec {
    std::string m_strKey;
    std::vector<std::string> m_Values;
};
