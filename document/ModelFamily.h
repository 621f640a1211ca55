#pragma once
// The model families as the pages and their rules name them: the plain models
// up to 0x1100000, the first extended family above it and below 0x1110000,
// the second above 0x1110000. The code 0x1110000 itself belongs to neither
// extended family, and the rules that care say so.

constexpr int kFirstFamilyBase = 0x1100000;
constexpr int kSecondFamilyBase = 0x1110000;

constexpr bool IsExtendedModel(int code)
{
    return code > kFirstFamilyBase;
}

constexpr bool InFirstFamily(int code)
{
    return code > kFirstFamilyBase && code < kSecondFamilyBase;
}

constexpr bool InSecondFamily(int code)
{
    return code > kSecondFamilyBase;
}

// The model number within either extended family (the project's 13-00),
// 0 for the plain models.
constexpr int ModelNumberOf(int code)
{
    return code > kSecondFamilyBase ? code - kSecondFamilyBase : code > kFirstFamilyBase ? code - kFirstFamilyBase : 0;
}
