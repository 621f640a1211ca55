#pragma once
// Moves one parameter group of one station between a drive and a project
// document. The readers store what they read as the records' read texts in
// the context's document; the writers send value texts indexed by item
// number, gated on the context's model code and its document's drive version.
// Block layouts, gates and forms are the tables of link/ParamGroupTables.h.
//
// Failures leave their text in the context's m_strLastError and give false;
// the caller that runs the batch shows it. Readers store the bare link or
// refusal text, writers "Station Num <n>" + text + one blank, or the message
// of a check.

#include "link/GroupTransferContext.h"
#include "res/StringIds.h"

#include <bitset>
#include <cstdint>
#include <span>
#include <string>

// The text of one of the writers' own value checks (IDS_WRITE_VALUE_NOT_NUMBER
// to IDS_WRITE_NO_BROADCAST); item and text fill its two "%s".
std::string WriteCheckText(unsigned id, const std::string& item = {}, const std::string& text = {});

class CParamGroupIO {
public:
    // Value texts of one group, entry k being item GG-k. Entries beyond the
    // end read as empty texts.
    using Values = std::span<const std::string>;

    explicit CParamGroupIO(const GroupTransferContext& context);

    bool ReadParamGroup00(uint8_t station);
    bool ReadParamGroup01(uint8_t station);
    bool ReadParamGroup02(uint8_t station);
    bool ReadParamGroup03(uint8_t station);
    bool ReadParamGroup04(uint8_t station);
    bool ReadParamGroup05(uint8_t station);
    bool ReadParamGroup06(uint8_t station);
    bool ReadParamGroup07(uint8_t station);
    bool ReadParamGroup08(uint8_t station);
    bool ReadParamGroup09(uint8_t station);
    bool ReadParamGroup10(uint8_t station);
    bool ReadParamGroup11(uint8_t station);
    bool ReadParamGroup12(uint8_t station);
    bool ReadParamGroup13(uint8_t station);
    // Also sets the context's m_nPressureMode from 14-20.
    bool ReadParamGroup14(uint8_t station);
    // The reader of group 0 to 14; false for any other group.
    bool ReadParamGroup(int group, uint8_t station);

    bool WriteParamGroup00(Values values, uint8_t station);
    bool WriteParamGroup01(Values values, uint8_t station);
    bool WriteParamGroup02(Values values, uint8_t station);
    bool WriteParamGroup03(Values values, uint8_t station);
    bool WriteParamGroup04(Values values, uint8_t station);
    bool WriteParamGroup05(Values values, uint8_t station);
    bool WriteParamGroup06(Values values, uint8_t station);
    bool WriteParamGroup07(Values values, uint8_t station);
    bool WriteParamGroup08(Values values, uint8_t station);
    bool WriteParamGroup09(Values values, uint8_t station);
    bool WriteParamGroup10(Values values, uint8_t station);
    bool WriteParamGroup11(Values values, uint8_t station);
    bool WriteParamGroup12(Values values, uint8_t station);
    // Write-all's group 13 (13-03 to 13-06).
    bool WriteParamGroup13(Values values, uint8_t station);
    // The editor's group 13: also 13-08.
    bool WriteParamGroup13Ex(Values values, uint8_t station);
    bool WriteParamGroup14(Values values, uint8_t station);
    // The writer of group 0 to 14 (13: write-all's); false for any other group.
    bool WriteParamGroup(int group, Values values, uint8_t station);

    // One function-0x10 frame: registers group x 256 + start onward, count of
    // them (1 to 45), the words taken from words[start] on. Never to station 0.
    bool WriteParamRegister(const uint16_t* words, uint8_t station, uint8_t group, uint8_t start, int count);

    // Whether an accepted frame of the last write call carried the item's
    // value. The writers leave items out by their gates and rules (00-01
    // while the drive's 00-02 is not 0, 00-21 by version, the V/F points
    // unless 01-00 is 7, ...), and a failed call has carried only what went
    // before its failure.
    bool Wrote(int item) const;

private:
    GroupTransferContext m_context;
    std::bitset<100> m_written;
};
