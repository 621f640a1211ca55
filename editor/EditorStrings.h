#pragma once
// String ids of the editor's messages.

enum : unsigned {
    IDS_BEYOND_RANGE = 61460,
    IDS_EDITOR_CAPTION = 61461,
    IDS_COMM_ERROR = 61479,
    IDS_STATION_NUM = 61480,
    IDS_READ_ONLY = 61483,
    IDS_PASSWORD_SET = 61534,
    IDS_NOT_CONNECTED = 61539,
    IDS_WRITE_SUCCESSFUL = 61541,
    IDS_DRIVE_RUNNING = 61571,
    IDS_VERSION_RETAINED = 61580,
    IDS_VERSION_RANGE = 61622,
    IDS_GROUP14_VERSION = 61644,
    IDS_ENTER_INTEGER = 61775,
    IDS_ENTER_INTEGER_BETWEEN = 61776,
    IDS_RESET_CODE_CONFIRM = 61777,
};

// Option and range texts of the page tables: one hundred ids per group.
constexpr unsigned PageStringBase(int group)
{
    return 62000u + 100u * static_cast<unsigned>(group);
}
