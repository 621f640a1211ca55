#pragma once
// The rows of the parameter list: the extended list's model with the
// parameter list's four columns (an empty one, name, default, set value).
// Heading rows show red; the set value of a changed parameter shows on green.

#include "controls/XListModel.h"

class CParamListModel : public CXListModel {
public:
    enum Column { kColumnNone = 0, kColumnName = 1, kColumnDefault = 2, kColumnValue = 3, kColumnCount = 4 };

    CParamListModel() : CXListModel(kColumnCount) { m_changedColumn = kColumnValue; }

    // A row with every column present, for filling.
    static Row MakeRow()
    {
        Row row;
        row.text.resize(kColumnCount);
        return row;
    }
};
