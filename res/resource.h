// Numeric ids of the program's resources: dialog templates, controls, menu commands, the icon and
// the string table. Several controls share a number across dialogs (1002 is the INPUT radio of the
// main window and the Input radio of the file dialog); each meaning has its own name here.
// The framework's own command ids (Page Setup, Exit, Help Topics, About) live in
// platform/fw/types.h and are not repeated.
#pragma once

#include "platform/fw/types.h"

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_TAV_DIALOG = 102;
inline constexpr int IDD_REMAP_CONFIRM = 131;
inline constexpr int IDD_RESTORE_CONFIRM = 133;
inline constexpr int IDD_SYSDEF = 134;
inline constexpr int IDD_IDLE = 137;
inline constexpr int IDD_FILE = 138;
inline constexpr int IDD_SEND_REMAP_DATA = 139;
inline constexpr int IDD_PRINT_CHOICE = 140;
inline constexpr int IDD_REMAP_TABLE = 141;
inline constexpr int IDD_ERROR = 143;
inline constexpr int IDD_WAIT = 145;
// Shown while another workstation sharing the data folder changes a file this one is to change.
inline constexpr int IDD_LOCK_WAIT = 150;

// The program icon and the main window's menu share the number 128.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_MAIN_MENU = 128;

// The About item the main window appends to its system menu.
inline constexpr fw::UINT IDM_ABOUTBOX = 16;

// Unnamed statics (labels, icons, group boxes that code never touches).
inline constexpr int IDC_STATIC = -1;

// Main remap dialog (102).
inline constexpr int IDC_REMAP = 1000;
inline constexpr int IDC_SWITCHER_LABEL = 1001;
inline constexpr int IDC_INPUT = 1002;
inline constexpr int IDC_SINGLE = 1004;
inline constexpr int IDC_SWITCHER = 1005;
inline constexpr int IDC_WHOLE_BOARD = 1006;
inline constexpr int IDC_LEVEL = 1007;
inline constexpr int IDC_LEVEL_LABEL = 1008;
inline constexpr int IDC_NEW_NUMBER = 1009;
inline constexpr int IDC_ORIGINAL_RANGE = 1011;
inline constexpr int IDC_NEW_RANGE = 1012;
inline constexpr int IDC_COMMENT = 1013;
inline constexpr int IDC_RANGE_LABEL = 1015;
inline constexpr int IDC_ORIGINAL_LABEL = 1016;
inline constexpr int IDC_NEW_LABEL = 1017;
inline constexpr int IDC_COMMENT_GROUP = 1018;
inline constexpr int IDC_CLOSE = 1019;
inline constexpr int IDC_OUTPUT = 1020;
inline constexpr int IDC_ORIGINAL_RANGE_LABEL = 1021;
inline constexpr int IDC_NEW_RANGE_LABEL = 1022;
inline constexpr int IDC_ORIGINAL_NUMBER = 1026;
inline constexpr int IDC_REMAP_GROUP = 1050;

// The static frame whose place a grid takes (System Definition, idle ports, remap table view).
inline constexpr int IDC_GRID = 1022;

// System Definition dialog (134).
inline constexpr int IDC_IDLE_OUTPUTS = 1015;
inline constexpr int IDC_IDLE_INPUTS = 1016;
inline constexpr int IDC_SYSDEF_PRINT = 1017;

// Remap table view (141). Restore and Restore All carry the numbers 3 and 4.
inline constexpr int IDC_RESTORE = 3;
inline constexpr int IDC_RESTORE_ALL = 4;
inline constexpr int IDC_TABLE_PRINT = 1028;

// Remap table file dialog (138); its type radios are IDC_INPUT and IDC_OUTPUT.
inline constexpr int IDC_FILE_LIST = 1029;
inline constexpr int IDC_FILE_NAME = 1030;
inline constexpr int IDC_FILE_NAME_LABEL = 1031;
inline constexpr int IDC_FILE_TYPE_LABEL = 1034;
inline constexpr int IDC_FILE_TYPE = 1035;

// Print chooser (140): IDC_INPUT_TABLE and IDC_OUTPUT_TABLE radios, Print is IDOK.
inline constexpr int IDC_INPUT_TABLE = 1002;
inline constexpr int IDC_OUTPUT_TABLE = 1020;

// Error dialog (143).
inline constexpr int IDC_ERROR_DETAIL = 1041;
inline constexpr int IDC_DETAIL = 1042;
inline constexpr int IDC_ERROR_MESSAGE = 1043;

// Progress window "Send Remap Data..." (139).
inline constexpr int IDC_SENT_LIST = 1049;
inline constexpr int IDC_RESPONSE_LIST = 1050;
inline constexpr int IDC_SENT_TOTAL = 1051;
inline constexpr int IDC_RESPONSE_TOTAL = 1052;

// About box (100).
inline constexpr int IDC_RELEASE = 1053;

// Waiting for another workstation (150): the message; Give up is IDCANCEL.
inline constexpr int IDC_LOCK_WAIT_TEXT = 1070;

// Menu commands of menu 128 (the framework's ones are fw::ID_FILE_PRINT_SETUP, fw::ID_APP_EXIT,
// fw::ID_HELP_FINDER and fw::ID_APP_ABOUT).
inline constexpr fw::UINT ID_FILE_SELECT_REMAP_TABLE = 32772;
inline constexpr fw::UINT ID_FILE_SAVE_REMAP_TABLE_AS = 32774;
inline constexpr fw::UINT ID_FILE_PRINT_REMAP_TABLE = 32775;
inline constexpr fw::UINT ID_VIEW_OUTPUT_REMAP_TABLE = 32778;
inline constexpr fw::UINT ID_VIEW_INPUT_REMAP_TABLE = 32781;
inline constexpr fw::UINT ID_VIEW_SYSTEM_DEFINITION = 32783;  // also its status-bar text

// String table.
inline constexpr fw::UINT IDS_ABOUTBOX = 101;
inline constexpr fw::UINT IDS_COM_INIT_FAILED = 106;

// Grid headers of the System Definition and idle port grids.
inline constexpr fw::UINT IDS_SYSDEF_SWITCHER = 2000;
inline constexpr fw::UINT IDS_SYSDEF_NAME = 2001;
inline constexpr fw::UINT IDS_SYSDEF_IN_RANGE = 2002;
inline constexpr fw::UINT IDS_IDLE_INPUTS = 2003;
inline constexpr fw::UINT IDS_IDLE_OUTPUTS = 2004;
inline constexpr fw::UINT IDS_PHYSICAL_INPUT = 2005;
inline constexpr fw::UINT IDS_PHYSICAL_OUTPUT = 2006;
inline constexpr fw::UINT IDS_IDLE_COUNT = 2007;
inline constexpr fw::UINT IDS_SYSDEF_OUT_RANGE = 2008;
inline constexpr fw::UINT IDS_SYSDEF_INPUTS = 2009;
inline constexpr fw::UINT IDS_SYSDEF_OUTPUTS = 2010;

// I/O words, remap table grid headers, file dialog texts and remap mode words.
inline constexpr fw::UINT IDS_INPUT = 2011;
inline constexpr fw::UINT IDS_OUTPUT = 2012;
inline constexpr fw::UINT IDS_REMAP_SWITCHER = 2014;
inline constexpr fw::UINT IDS_ORIG_INPUT = 2015;
inline constexpr fw::UINT IDS_NEW_INPUT = 2016;
inline constexpr fw::UINT IDS_ORIG_OUTPUT = 2017;
inline constexpr fw::UINT IDS_NEW_OUTPUT = 2018;
inline constexpr fw::UINT IDS_REMAP_LEVEL = 2019;
inline constexpr fw::UINT IDS_INPUT_PATTERN = 2020;
inline constexpr fw::UINT IDS_OUTPUT_PATTERN = 2021;
inline constexpr fw::UINT IDS_ALL_FILES = 2022;
inline constexpr fw::UINT IDS_SAVE = 2023;
inline constexpr fw::UINT IDS_SELECT = 2024;
inline constexpr fw::UINT IDS_MODE_SINGLE = 2025;
inline constexpr fw::UINT IDS_MODE_WHOLE_BOARD = 2026;

// Captions and window titles.
inline constexpr fw::UINT IDS_LOAD_SYSDEF_CAPTION = 5000;
inline constexpr fw::UINT IDS_WARNING_CAPTION = 5001;
inline constexpr fw::UINT IDS_INPUT_REMAP_TABLE = 5002;
inline constexpr fw::UINT IDS_OUTPUT_REMAP_TABLE = 5003;
inline constexpr fw::UINT IDS_SAVE_AS = 5004;
inline constexpr fw::UINT IDS_SELECT_REMAP_TABLE = 5005;

// Error contexts (the component a failed call belongs to) and operator messages.
inline constexpr fw::UINT IDS_ERR_SWITCHER_DESC = 7000;
inline constexpr fw::UINT IDS_ERR_SWITCHER_INPUT = 7003;
inline constexpr fw::UINT IDS_ERR_SWITCHER_OUTPUT = 7004;
inline constexpr fw::UINT IDS_ERR_DEVICES = 7005;
inline constexpr fw::UINT IDS_ERR_OPEN_LOG = 7009;
inline constexpr fw::UINT IDS_ERR_PATH_FINDING = 7010;
inline constexpr fw::UINT IDS_ERR_ROUTER_NOTIFY = 7012;
inline constexpr fw::UINT IDS_ERR_FILE_ACCESS = 7013;
inline constexpr fw::UINT IDS_INVALID_PORT = 7017;
inline constexpr fw::UINT IDS_INVALID_ORIGINAL_NUMBER = 7018;
inline constexpr fw::UINT IDS_INVALID_NEW_NUMBER = 7019;
inline constexpr fw::UINT IDS_INVALID_ORIGINAL_RANGE = 7020;
inline constexpr fw::UINT IDS_INVALID_NEW_RANGE = 7021;
inline constexpr fw::UINT IDS_ERR_REGISTRY = 7022;
inline constexpr fw::UINT IDS_ERR_NETWORK_DESC = 7023;
inline constexpr fw::UINT IDS_TOO_MANY_REMAPS = 7024;
inline constexpr fw::UINT IDS_ERR_WRITE_LOG = 7026;
inline constexpr fw::UINT IDS_ERR_REBOOT_PORT = 7027;
inline constexpr fw::UINT IDS_ERR_BOARD_STATUS = 7028;
inline constexpr fw::UINT IDS_ERR_BOARD_NOTIFY = 7029;
inline constexpr fw::UINT IDS_COUNT_TOO_LARGE = 7030;
inline constexpr fw::UINT IDS_FILE_EXISTS = 7031;
inline constexpr fw::UINT IDS_FILE_SHARE_VIOLATION = 7032;
inline constexpr fw::UINT IDS_FILE_GENERAL_FAILURE = 7033;
inline constexpr fw::UINT IDS_FILE_NOT_FOUND = 7034;
inline constexpr fw::UINT IDS_FILE_READ_ONLY = 7035;
inline constexpr fw::UINT IDS_FILE_NO_HANDLES = 7036;
inline constexpr fw::UINT IDS_FILE_UNKNOWN_FAILURE = 7037;
inline constexpr fw::UINT IDS_CLICK_DETAIL = 7038;
inline constexpr fw::UINT IDS_BOARDS_NOT_RESPONDING = 7039;
inline constexpr fw::UINT IDS_NO_BOARD = 7041;
inline constexpr fw::UINT IDS_ERR_CONTROL_CENTER = 7042;

// Start-up questions about the System Definition Table, and the file dialog's overwrite question.
inline constexpr fw::UINT IDS_SYSDEF_CHANGED = 10000;
inline constexpr fw::UINT IDS_NO_SYSDEF = 10001;
inline constexpr fw::UINT IDS_REPLACE_FILE = 10002;

// Error detail template and grid row checks.
inline constexpr fw::UINT IDS_ERROR_DETAIL = 20000;
inline constexpr fw::UINT IDS_ROWS_CONFLICT = 20001;
inline constexpr fw::UINT IDS_ROW_INVALID = 20002;
inline constexpr fw::UINT IDS_INVALID_RANGE = 20003;

// Conflict questions of the Remap command.
inline constexpr fw::UINT IDS_SAME_REMAP = 21000;
inline constexpr fw::UINT IDS_ORIGINAL_REMAPPED = 21001;
inline constexpr fw::UINT IDS_NEW_REMAPPED = 21002;
inline constexpr fw::UINT IDS_ORIGINAL_RANGE_REMAPPED = 21003;
inline constexpr fw::UINT IDS_NEW_RANGE_REMAPPED = 21004;
inline constexpr fw::UINT IDS_REMAP_CONFLICT = 21007;
