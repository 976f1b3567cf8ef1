// The string table must hold the product's texts byte for byte: operators and their procedures
// quote these messages, misspellings and all, and the program formats several of them with
// printf-style arguments, so a lost "%d" or "\n" is a real fault.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "res/resource.h"
#include "res/resources.h"

namespace {

struct ExpectedString {
    fw::UINT id;
    const char* text;
};

// Written out independently of the string table source.
constexpr ExpectedString kExpected[] = {
    {101, "&About TAV..."},
    {106, "Windows COM Library Initialization failed"},
    {2000, "Switcher"},
    {2002, "In. Range"},
    {2003, "Idle Inputs"},
    {2004, "Idle Outputs"},
    {2005, "Physical Input"},
    {2006, "Physical Output"},
    {2007, "Count"},
    {2008, "Out. Range"},
    {2009, "#In"},
    {2010, "#Out"},
    {2011, "Input"},
    {2012, "Output"},
    {2014, "Switcher"},
    {2015, "Orig. Input"},
    {2016, "New Input"},
    {2017, "Orig. Output"},
    {2018, "New Output"},
    {2019, "Level"},
    {2020, "*.ixt"},
    {2021, "*.oxt"},
    {2022, "*.*"},
    {2023, "Save"},
    {2024, "Select"},
    {2025, "single"},
    {2026, "whole board"},
    {5000, "Load System Definition Table"},
    {5001, "Tavora - WARNING!"},
    {5002, "Input Remap Table"},
    {5003, "Output Remap Table"},
    {5004, "Save As"},
    {5005, "Select Remap Table"},
    {7000, "Error occured when reading the Switcher Description Table."},
    {7009, "Error occured when trying to open a log file."},
    {7012, "Error occured when creating the local Router Notify Component"},
    {7017, "You have entered an invalid port number."},
    {7023, "Error occured when reading the Network Description Table component."},
    {7024,
     "There are more than 64 remaps in the Input and Output Remap Tables.\n"
     "The system can not remap more than 64 inputs/outputs.\n"
     "\n"
     "Please check the Remap Table again to assure no more than 64 remaps in the system."},
    {7026, "Error occurred while trying to write to the log file"},
    {7027,
     "Error occurred while trying to read the reboot port from the Corvane Registry component."},
    {7028, "Error occurred when reading the Board Status Server."},
    {7029, "Error occurred when reading the board notify component."},
    {7030,
     "The 'Count' you entered must be smaller or equal to the 'Range' in the System Definition "
     "Table."},
    {7031, "You can not create a file that already exists."},
    {7036, "The file server ran out of handles and could not open more files."},
    {7037, "File open failed for unknown reason."},
    {7038, "Please click DETAIL button to see detail message."},
    {7039,
     "Some board(s) are not responding.\n"
     "Please compare board list to find the board(s) that did not respond."},
    {7041, "The remap data does not apply to any board.\nRemap abort!"},
    {7042, "Error occured while connecting to the Control Center Component"},
    {10000,
     "The system configuration has changed since the last time the system definition table was "
     "saved.\n"
     "Please re-enter the system definition table again."},
    {10001,
     "There is no default System Definition Table.\n"
     "To use Tavora, you have to set the System Definition Table first.\n"
     "\n"
     "Would you like to set the System Definition Table now?"},
    {10002, "This file already exists.\nReplace existing file?"},
    {20000,
     "Error Code: (0x%x)\r\n"
     "System Erro Msg: %s\r\n"
     "DCOM Error Msg: %s\r\n"
     "File: %s\r\n"
     "Line# %d"},
    {20001, "Row# %d conflicts with Row# %d\nPlease reenter these rows again!"},
    {20002, "The data you entered in Row# %d is invalid, please re-enter."},
    {20003, "You have entered an invalid %s for Switcher %s, Level %s"},
    {21000,
     "There are already %s mappings in the range you have specified.\n"
     "Remapping will override those mappings in the %s Remap Table.\n"
     "\n"
     "Do you want to proceed?"},
    {21001,
     "The original %s %s number '%d' you have specified\n"
     "was previously remapped to %s number '%d'.\n"
     "\n"
     "Remapping will override the previous remapping.\n"
     "\n"
     "Do you want to proceed?"},
    {21002,
     "The new %s %s number '%d' you have specified\n"
     "was previously remapped from %s number '%d'.\n"
     "\n"
     "Remapping will override the previous remapping.\n"
     "\n"
     "Do you want to proceed?"},
    {21003,
     "The original %s %s number '%d-%d' you have specified\n"
     "were previously remapped to %s number '%d-%d'.\n"
     "\n"
     "Remapping will override the previous remapping.\n"
     "\n"
     "Do you want to proceed?"},
    {21004,
     "The new %s %s number '%d-%d' you have specified\n"
     "were previously remapped from %s number '%d-%d'.\n"
     "\n"
     "Remapping will override the previous remapping.\n"
     "\n"
     "Do you want to proceed?"},
    {21007,
     "The remapping entry you have just specified conflicts with previous remap.\n"
     "Please check your data again."},
    {32783, "Display System Definition Table"},
};

// Readable test names and failure output instead of a byte dump.
void PrintTo(const ExpectedString& e, std::ostream* os) {
    *os << "string " << e.id;
}

class StringText : public testing::TestWithParam<ExpectedString> {};

TEST_P(StringText, IsExactlyTheProductText) {
    const ExpectedString& expected = GetParam();
    const std::string* text = tav::TavResources().FindString(expected.id);
    ASSERT_NE(text, nullptr) << "no string " << expected.id;
    EXPECT_EQ(*text, expected.text) << "string " << expected.id;
}

INSTANTIATE_TEST_SUITE_P(Table, StringText, testing::ValuesIn(kExpected),
                         [](const testing::TestParamInfo<ExpectedString>& p) {
                             return "Id" + std::to_string(p.param.id);
                         });

TEST(StringTable, IdsAreUnique) {
    std::set<fw::UINT> seen;
    for (const fw::StringResource& s : tav::TavResources().strings) {
        EXPECT_TRUE(seen.insert(s.id).second) << "string id " << s.id << " appears twice";
    }
}

TEST(StringTable, NoTextIsEmptyOrCarriesAStrayBackslash) {
    for (const fw::StringResource& s : tav::TavResources().strings) {
        EXPECT_FALSE(s.text.empty()) << "string " << s.id;
        // Line breaks must be real control characters, not the two characters '\' 'n'.
        EXPECT_EQ(s.text.find('\\'), std::string::npos) << "string " << s.id;
    }
}

// Every named string id resolves; a name pointing at a number without text would load "".
TEST(StringTable, EveryNamedIdHasText) {
    const fw::UINT named[] = {
        IDS_ABOUTBOX,
        IDS_COM_INIT_FAILED,
        IDS_SYSDEF_SWITCHER,
        IDS_SYSDEF_NAME,
        IDS_SYSDEF_IN_RANGE,
        IDS_IDLE_INPUTS,
        IDS_IDLE_OUTPUTS,
        IDS_PHYSICAL_INPUT,
        IDS_PHYSICAL_OUTPUT,
        IDS_IDLE_COUNT,
        IDS_SYSDEF_OUT_RANGE,
        IDS_SYSDEF_INPUTS,
        IDS_SYSDEF_OUTPUTS,
        IDS_INPUT,
        IDS_OUTPUT,
        IDS_REMAP_SWITCHER,
        IDS_ORIG_INPUT,
        IDS_NEW_INPUT,
        IDS_ORIG_OUTPUT,
        IDS_NEW_OUTPUT,
        IDS_REMAP_LEVEL,
        IDS_INPUT_PATTERN,
        IDS_OUTPUT_PATTERN,
        IDS_ALL_FILES,
        IDS_SAVE,
        IDS_SELECT,
        IDS_MODE_SINGLE,
        IDS_MODE_WHOLE_BOARD,
        IDS_LOAD_SYSDEF_CAPTION,
        IDS_WARNING_CAPTION,
        IDS_INPUT_REMAP_TABLE,
        IDS_OUTPUT_REMAP_TABLE,
        IDS_SAVE_AS,
        IDS_SELECT_REMAP_TABLE,
        IDS_ERR_SWITCHER_DESC,
        IDS_ERR_SWITCHER_INPUT,
        IDS_ERR_SWITCHER_OUTPUT,
        IDS_ERR_DEVICES,
        IDS_ERR_OPEN_LOG,
        IDS_ERR_PATH_FINDING,
        IDS_ERR_ROUTER_NOTIFY,
        IDS_ERR_FILE_ACCESS,
        IDS_INVALID_PORT,
        IDS_INVALID_ORIGINAL_NUMBER,
        IDS_INVALID_NEW_NUMBER,
        IDS_INVALID_ORIGINAL_RANGE,
        IDS_INVALID_NEW_RANGE,
        IDS_ERR_REGISTRY,
        IDS_ERR_NETWORK_DESC,
        IDS_TOO_MANY_REMAPS,
        IDS_ERR_WRITE_LOG,
        IDS_ERR_REBOOT_PORT,
        IDS_ERR_BOARD_STATUS,
        IDS_ERR_BOARD_NOTIFY,
        IDS_COUNT_TOO_LARGE,
        IDS_FILE_EXISTS,
        IDS_FILE_SHARE_VIOLATION,
        IDS_FILE_GENERAL_FAILURE,
        IDS_FILE_NOT_FOUND,
        IDS_FILE_READ_ONLY,
        IDS_FILE_NO_HANDLES,
        IDS_FILE_UNKNOWN_FAILURE,
        IDS_CLICK_DETAIL,
        IDS_BOARDS_NOT_RESPONDING,
        IDS_NO_BOARD,
        IDS_ERR_CONTROL_CENTER,
        IDS_SYSDEF_CHANGED,
        IDS_NO_SYSDEF,
        IDS_REPLACE_FILE,
        IDS_ERROR_DETAIL,
        IDS_ROWS_CONFLICT,
        IDS_ROW_INVALID,
        IDS_INVALID_RANGE,
        IDS_SAME_REMAP,
        IDS_ORIGINAL_REMAPPED,
        IDS_NEW_REMAPPED,
        IDS_ORIGINAL_RANGE_REMAPPED,
        IDS_NEW_RANGE_REMAPPED,
        IDS_REMAP_CONFLICT,
        ID_VIEW_SYSTEM_DEFINITION,
    };
    for (fw::UINT id : named) {
        const std::string* text = tav::TavResources().FindString(id);
        EXPECT_TRUE(text != nullptr && !text->empty()) << "string " << id;
    }
}

// The error-context messages that name a component, looked up by the ids the error report uses.
TEST(StringTable, ErrorContextsNameTheirComponent) {
    const struct {
        fw::UINT id;
        const char* component;
    } contexts[] = {
        {7000, "Switcher Description Table"},
        {7003, "Switcher Input Table"},
        {7004, "Switcher Output Table"},
        {7005, "Vexel Devices Table"},
        {7010, "Path Finding"},
        {7012, "Router Notify"},
        {7013, "File Access"},
        {7022, "Corvane Registry"},
        {7023, "Network Description Table"},
        {7028, "Board Status Server"},
        {7029, "board notify"},
        {7042, "Control Center"},
    };
    for (const auto& c : contexts) {
        const std::string* text = tav::TavResources().FindString(c.id);
        ASSERT_NE(text, nullptr) << c.id;
        EXPECT_NE(text->find(c.component), std::string::npos) << c.id << ": " << *text;
    }
}

}  // namespace
