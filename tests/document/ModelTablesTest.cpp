#include "document/ModelTables.h"

#include <gtest/gtest.h>

#include <set>

TEST(ModelTable, HoldsFortyNineUniqueRowsInThreeFamilies)
{
    auto table = ModelCodeTable();
    ASSERT_EQ(table.size(), 49u);
    std::set<uint32_t> codes;
    std::set<std::string> names;
    for (const ModelCodeEntry& entry : table) {
        codes.insert(entry.code);
        names.insert(entry.name);
        EXPECT_EQ(std::string(entry.capacity).size(), 3u) << entry.name;
    }
    EXPECT_EQ(codes.size(), 49u);
    EXPECT_EQ(names.size(), 49u);
    EXPECT_EQ(table[0].code, 0x44Eu);
    EXPECT_EQ(table[10].code, 0x193u);
    EXPECT_EQ(table[11].code, 0x110044Eu);
    EXPECT_EQ(table[29].code, 0x110019Fu);
    EXPECT_EQ(table[30].code, 0x111044Eu);
    EXPECT_EQ(table[48].code, 0x111019Fu);
}

TEST(ModelTable, CodeIsFamilyBasePlusNumberOfCapacityCode)
{
    // "xPy" is 1000 + 100x + y; any other capacity code reads as decimal.
    for (const ModelCodeEntry& entry : ModelCodeTable()) {
        std::string cap = entry.capacity;
        uint32_t number = cap[1] == 'P' ? 1000 + 100 * uint32_t(cap[0] - '0') + uint32_t(cap[2] - '0')
                                        : uint32_t(std::stoi(cap));
        uint32_t base = entry.code >= 0x1110000 ? 0x1110000 : entry.code > 0x1100000 ? 0x1100000 : 0;
        EXPECT_EQ(entry.code, base + number) << entry.name;
    }
}

TEST(ModelTable, LooksUpByCode)
{
    struct Case {
        uint32_t code;
        const char* name;
        const char* capacity;
    } cases[] = {
        {1102, "D390-1P2-Hxx", "1P2"},
        {1205, "D390-2P5-Hxx", "2P5"},
        {0x11004B2, "RQ5 02 A240", "2P2"},
        {0x11004B5, "RQ5 04 A240", "2P5"},
        {0x11000C9, "RQ5 07 A240", "201"},
        {0x11000CA, "RQ5 15 A240", "202"},
        {0x11000CB, "RQ5 22 A240", "203"},
        {0x11004B7, "D390-2P7-SHxx", "2P7"},
        {0x111019F, "D390-415-SHxx-xP", "415"},
        {0x11104B2, "D390-2P2-SHxx-xP", "2P2"},
    };
    for (const Case& c : cases) {
        std::string capacity = "old";
        EXPECT_EQ(LookupModelByCode(c.code, capacity), c.name);
        EXPECT_EQ(capacity, c.capacity);
    }
    std::string capacity = "old";
    EXPECT_EQ(LookupModelByCode(1207, capacity), "") << "2P7 has no plain row";
    EXPECT_EQ(capacity, "old");
}

TEST(ModelTable, LooksUpByExactName)
{
    int code = 7;
    std::string capacity = "old";
    EXPECT_TRUE(LookupModelByName("D390-405-SHxx", code, capacity));
    EXPECT_EQ(code, 0x1100195);
    EXPECT_EQ(capacity, "405");

    const char* misses[] = {"d390-405-shxx", "D390-405-SHxx ", "", "RQ5 02 a240"};
    for (const char* name : misses) {
        code = 7;
        capacity = "old";
        EXPECT_FALSE(LookupModelByName(name, code, capacity)) << name;
        EXPECT_EQ(code, 7);
        EXPECT_EQ(capacity, "old");
    }
}

TEST(ModelTable, VoltageClass)
{
    struct Case {
        int code;
        int cls;
    } cases[] = {
        {0x1100191, 400}, {205, 100},       {1207, 400},      {399, 100},       {400, 400},
        {-5, 100},        {0x44E, 100},     {0x4B5, 100},     {0x191, 400},     {0x11004B7, 100},
        {0x11100D2, 100}, {0x111019F, 400}, {0x1100000, 400}, {0x1110000, 400},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModelClassOf(c.code), c.cls) << std::hex << c.code;
    for (const ModelCodeEntry& entry : ModelCodeTable())
        EXPECT_EQ(ModelClassOf(int(entry.code)), entry.capacity[0] == '4' ? 400 : 100) << entry.name;
}

TEST(ModelTable, FamiliesMeetAtTheirBases)
{
    struct Case {
        int64_t code;
        ModelFamily family;
    } cases[] = {
        {0x44E, ModelFamily::Old},           {0x1100000, ModelFamily::Old},
        {0x1100001, ModelFamily::RangeA},    {0x110FFFF, ModelFamily::RangeA},
        {0x1110000, ModelFamily::ExactlySP}, {0x1110001, ModelFamily::RangeB},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FamilyOf(c.code), c.family) << std::hex << c.code;
    EXPECT_TRUE(IsNewModel(0x1110000));
    EXPECT_FALSE(IsRangeA(0x1110000) || IsRangeB(0x1110000));
    EXPECT_TRUE(IsRestrictedModel(0x4B2, 1.31f));
    EXPECT_FALSE(IsRestrictedModel(0x4B2, 1.311f));
    EXPECT_FALSE(IsRestrictedModel(0x4B5, 1.0f));
}

TEST(FaultTable, HoldsTwentySevenRowsAndLooksUpByCode)
{
    ASSERT_EQ(FaultCodeTable().size(), 27u);
    std::string shortText = "old";
    EXPECT_EQ(LookupFaultCode(19, shortText), "Over-current at acceleration");
    EXPECT_EQ(shortText, "oC-A");
    EXPECT_EQ(LookupFaultCode(21, shortText), "Over-currrent at start");
    EXPECT_EQ(LookupFaultCode(32, shortText), "Modification of parameter is not vailable in communication");
    EXPECT_EQ(shortText, "Err5");
    EXPECT_EQ(LookupFaultCode(0, shortText), "");
    EXPECT_EQ(shortText, "-");
    for (uint32_t missing : {5u, 7u, 10u, 11u, 17u, 22u, 25u, 31u, 35u}) {
        shortText = "old";
        EXPECT_EQ(LookupFaultCode(missing, shortText), "") << missing;
        EXPECT_EQ(shortText, "old");
    }
}
