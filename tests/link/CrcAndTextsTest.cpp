// The checksum, the MAC texts and the texts that turn link results and drive
// refusals into messages.

#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/MacText.h"
#include "link/SerialComm.h"
#include "link/DriveQueries.h"
#include "tests/common/MessageRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Crc16, KnownFrames)
{
    struct Case {
        std::vector<uint8_t> bytes;
        uint16_t crc;
        const char* why;
    };
    const Case cases[] = {
        {{}, 0xFFFF, "no bytes leave the initial value"},
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, 0x0A84, "read of register 0 of station 1"},
        {{0x01, 0x06, 0x00, 0x01, 0x00, 0x03}, 0x0B98, "write of 00-01"},
        {{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}, 0x8776, "the textbook example of the Modbus guide"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalcCrc16(c.bytes.size(), c.bytes.data()), c.crc) << c.why;
}

TEST(Crc16, AppendStoresLowByteFirst)
{
    uint8_t frame[8] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(AppendCrc16(frame, 6), 8u);
    EXPECT_EQ(frame[6], 0x84);
    EXPECT_EQ(frame[7], 0x0A);
}

TEST(Crc16, CheckCrc)
{
    CSerialComm comm;
    const uint8_t good[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    const uint8_t swapped[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x0A, 0x84};
    EXPECT_EQ(comm.CheckCrc(good, sizeof good), 1);
    EXPECT_EQ(comm.CheckCrc(swapped, sizeof swapped), 0) << "high byte first is wrong";
    EXPECT_EQ(comm.CheckCrc(good, 1), 0) << "too short to hold a CRC";
    EXPECT_EQ(comm.CheckCrc(good, 0), 0);
    const uint8_t empty[] = {0xFF, 0xFF};
    EXPECT_EQ(comm.CheckCrc(empty, 2), 1) << "the CRC of nothing";
}

TEST(CommTexts, ResultTexts)
{
    EXPECT_EQ(GetErrTypeText(0), "");
    EXPECT_EQ(GetErrTypeText(1), "CRC parity error!");
    EXPECT_EQ(GetErrTypeText(2), "TimeOut!");
    EXPECT_EQ(GetErrTypeText(3), "Communication error!");
    EXPECT_EQ(GetErrTypeText(7), "Communication error!") << "an unknown result is a communication error";
    EXPECT_EQ(GetErrTypeText(-1), "Communication error!");
}

TEST(CommTexts, ExceptionTexts)
{
    struct Case {
        uint8_t code;
        const char* text;
    };
    const Case cases[] = {
        {0x51, "Function Code Error "}, {0x52, "Address Error "}, {0x53, "Data Amount Error"},
        {0x54, "DATA Over Range"},      {0x55, "Writing Mode Error "},
        {0x02, "Writing Mode Error "}, // a standard Modbus code is no drive code
        {0x50, "Writing Mode Error "}, {0xFF, "Writing Mode Error "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCommExceptionText(c.code), c.text) << int(c.code);
}

TEST(CommTexts, ExceptionMessageNamesTheStation)
{
    MessageRecorder recorder;
    ShowCommExceptionMsg(0x52, 7);
    auto messages = recorder.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Station Num 7\nAddress Error ");
    EXPECT_EQ(messages[0].type & MB_TYPEMASK, unsigned(MB_OK));
}

TEST(MacText, FormatAndParse)
{
    const uint8_t mac[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    EXPECT_EQ(FormatMacText(mac), "0a-1b-2c-3d-4e-5f");

    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"0a-1b-2c-3d-4e-5f", true}, {"0A-1B-2C-3D-4E-5F", true}, {"0a:1b:2c:3d:4e:5f", true},
        {"0a-1b-2c-3d-4e", false},   {"0a-1b-2c-3d-4e-5g", false}, {"0a-1b-2c-3d-4e-5f-", false},
        {"0a1b-2c-3d-4e-5f-", false}, {"", false},
    };
    for (const Case& c : cases) {
        uint8_t parsed[6] = {};
        EXPECT_EQ(ParseMacText(c.text, parsed), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(FormatMacText(parsed), "0a-1b-2c-3d-4e-5f") << c.text;
        }
    }
}

TEST(ModelCode, FromSeriesAndCapacity)
{
    EXPECT_EQ(ModelCodeFromSeries(0x100, 1205), 1205);
    EXPECT_EQ(ModelCodeFromSeries(0x110, 201), 0x11000C9);
    EXPECT_EQ(ModelCodeFromSeries(0x111, 415), 0x111019F);
    EXPECT_EQ(ModelCodeFromSeries(0, 1102), 1102) << "an unknown series adds nothing";
}

TEST(ModelCode, VersionMatchesSinglePrecisionThresholds)
{
    EXPECT_EQ(VersionFromRegister(1093), 1.093f);
    EXPECT_EQ(VersionFromRegister(1100), 1.1f);
    EXPECT_EQ(VersionFromRegister(0), 0.0f);
    EXPECT_LT(VersionFromRegister(1092), 1.093f);
    EXPECT_GT(VersionFromRegister(1094), 1.093f);
}

} // namespace
