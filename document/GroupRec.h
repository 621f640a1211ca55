#pragma once
// One parameter group: its name and its records, record k being item GG-k.

#include "document/ParamRec.h"

#include <string>
#include <vector>

struct GroupRec {
    std::string m_strName;
    std::vector<ParamRec> m_Params;
};
