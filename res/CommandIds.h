#pragma once
// Command ids of menus, toolbar and accelerators, also used as the wx window
// ids of the commands. The numbers are fixed: the string table keys each
// command's prompt by them.

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616, // to 57623: the eight recent projects
    ID_FILE_MRU_LAST = 57623,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,

    ID_HELP_HOWTO = 32771,
    ID_CONNECT = 32772,
    ID_VIEW_PROJECT = 32773,
    ID_GROUP_00 = 32774,
    ID_GROUP_02 = 32775,
    ID_GROUP_03 = 32776, // to 32786: groups 03 to 13
    ID_GROUP_13 = 32786,
    ID_GROUP_01 = 32787,
    ID_READ = 32788,
    ID_WRITE = 32789,
    ID_MONITOR_STATUS = 32790,
    ID_MONITOR_CONTROL = 32791,
    ID_GRAPH_WATCH = 32792,
    ID_KEYPAD = 32793,
    ID_PASSWORD_SET = 32794,
    ID_PASSWORD_RELEASE = 32795,
    ID_PRINT_TITLE = 32796,
    ID_IMPORT_PARAMS = 32799,
    ID_EXPORT_PARAMS = 32800,
    ID_AUTO_REFRESH = 32805,
    ID_GROUP_14 = 32806,
    ID_COMPARE = 32821,

    ID_DOCK_BAR = 123,
    ID_TAB_CTRL = 125,
};
