#pragma once
// A project of our own for exchange tests: small definition files in a fresh
// program folder, two model families with different tables, and a snapshot
// of everything an import may change.

#include "document/D390DocData.h"
#include "session/DriveSession.h"
#include "tests/document/DocTestSupport.h"
#include "view/ParamExchange.h"

#include <cstring>
#include <ctime>
#include <unistd.h>

// The fixed clock of export and print tests: 2026-03-07 09:05:03.
inline std::tm FixedTestTime()
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    return when;
}

// Plain family (PARAM.DAT): 15 groups of three parameters, factory default
// "g*10+i" and set value that plus ".5"; 10-00's name holds a comma. Group 1
// has items 0, 2 and 5 (1, 3 and 4 are placeholders).
inline std::string PlainDefinitionFile()
{
    std::string text;
    for (int g = 0; g < 15; ++g) {
        for (int i = 0; i < 3; ++i) {
            if (g == 1 && i == 1)
                continue;
            std::string name = (g == 10 && i == 0) ? "Station, address" : "Param " + Code(g, i);
            text += Code(g, i) + name + "@" + std::to_string(g * 10 + i) + "$" + std::to_string(g * 10 + i) + ".5*\r\n";
        }
        if (g == 1)
            text += "01-05Param 01-05@15$15.5*\r\n";
        text += "#Group " + std::to_string(g) + "\r\n";
    }
    return text;
}

// S family (PARAMS.DAT): fewer groups and other names, so a model switch is
// visible in the table.
inline std::string SFamilyDefinitionFile()
{
    std::string text;
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 2; ++i)
            text += Code(g, i) + "S-param " + Code(g, i) + "@s" + std::to_string(i) + "$s" + std::to_string(i) + "*\r\n";
        text += "#S group " + std::to_string(g) + "\r\n";
    }
    return text;
}

constexpr int kPlainModel = 0x44E;     // "D390-1P2-Hxx"
constexpr int kSFamilyModel = 0x110044E; // "D390-1P2-SHxx"

class ExchangeTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        Write("PARAM.DAT", PlainDefinitionFile());
        Write("PARAMS.DAT", SFamilyDefinitionFile());
        Write("IntialParam.DAT", "");
        m_doc.m_nModelCode = kPlainModel;
        m_doc.m_strModelName = "D390-1P2-Hxx";
        m_windows.SetStatusPaneText(kPaneModel, m_doc.m_strModelName);
        ASSERT_TRUE(m_doc.BuildForCurrentModel());
        m_doc.SetModifiedFlag(false);
        m_exchange.m_clock = FixedTestTime;
        m_messages.Clear();
    }

    ParamRec& Param(int group, int item) { return m_doc.m_Groups.at(group).m_Params.at(item); }

    // Everything an import may touch: model, table, values, flags. With
    // definedOnly the placeholders are left out: a table rebuilt from the
    // files gives them the files' texts again.
    std::string State(bool definedOnly = false) const
    {
        std::string state = m_doc.m_strModelName + "|" + std::to_string(m_doc.m_nModelCode) + "|"
                            + m_windows.GetStatusPaneText(kPaneModel) + "|" + (m_doc.IsModified() ? "M" : "-") + "\n";
        for (std::size_t g = 0; g < m_doc.m_Groups.size(); ++g) {
            state += m_doc.m_Groups[g].m_strName + "\n";
            const auto& params = m_doc.m_Groups[g].m_Params;
            for (std::size_t i = 0; i < params.size(); ++i)
                if (!definedOnly || (g < kGroupCount && i < kItemCount && m_doc.m_Defined[g][i]))
                    state += params[i].m_strLabel + "|" + params[i].m_strFactory + "|" + params[i].m_strValue + "\n";
        }
        for (int g = 0; g < kGroupCount; ++g)
            for (int i = 0; i < kItemCount; ++i)
                state += m_doc.m_Defined[g][i] ? '1' : '0';
        return state;
    }

    CDriveSession m_session{m_windows};
    CD390DocData& m_doc = NewDoc();
    CParamExchange m_exchange{m_session, m_doc};
};
