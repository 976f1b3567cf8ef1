// The string table. The texts are the operator-visible wording of the product, spelling slips
// ("occured", "Erro") included: operators and their documentation quote them, so they stay as
// they are byte for byte.
#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

std::vector<fw::StringResource> StringTable() {
    return {
        {IDS_ABOUTBOX, "&About TAV..."},
        {IDS_COM_INIT_FAILED, "Windows COM Library Initialization failed"},

        {IDS_SYSDEF_SWITCHER, "Switcher"},
        {IDS_SYSDEF_NAME, "Name"},
        {IDS_SYSDEF_IN_RANGE, "In. Range"},
        {IDS_IDLE_INPUTS, "Idle Inputs"},
        {IDS_IDLE_OUTPUTS, "Idle Outputs"},
        {IDS_PHYSICAL_INPUT, "Physical Input"},
        {IDS_PHYSICAL_OUTPUT, "Physical Output"},
        {IDS_IDLE_COUNT, "Count"},
        {IDS_SYSDEF_OUT_RANGE, "Out. Range"},
        {IDS_SYSDEF_INPUTS, "#In"},
        {IDS_SYSDEF_OUTPUTS, "#Out"},
        {IDS_INPUT, "Input"},
        {IDS_OUTPUT, "Output"},
        {IDS_REMAP_SWITCHER, "Switcher"},
        {IDS_ORIG_INPUT, "Orig. Input"},
        {IDS_NEW_INPUT, "New Input"},
        {IDS_ORIG_OUTPUT, "Orig. Output"},
        {IDS_NEW_OUTPUT, "New Output"},
        {IDS_REMAP_LEVEL, "Level"},
        {IDS_INPUT_PATTERN, "*.ixt"},
        {IDS_OUTPUT_PATTERN, "*.oxt"},
        {IDS_ALL_FILES, "*.*"},
        {IDS_SAVE, "Save"},
        {IDS_SELECT, "Select"},
        {IDS_MODE_SINGLE, "single"},
        {IDS_MODE_WHOLE_BOARD, "whole board"},

        {IDS_LOAD_SYSDEF_CAPTION, "Load System Definition Table"},
        {IDS_WARNING_CAPTION, "Tavora - WARNING!"},
        {IDS_INPUT_REMAP_TABLE, "Input Remap Table"},
        {IDS_OUTPUT_REMAP_TABLE, "Output Remap Table"},
        {IDS_SAVE_AS, "Save As"},
        {IDS_SELECT_REMAP_TABLE, "Select Remap Table"},

        {IDS_ERR_SWITCHER_DESC, "Error occured when reading the Switcher Description Table."},
        {IDS_ERR_SWITCHER_INPUT, "Error occured when reading the Switcher Input Table."},
        {IDS_ERR_SWITCHER_OUTPUT, "Error occured when reading the Switcher Output Table."},
        {IDS_ERR_DEVICES, "Error occured when reading the Vexel Devices Table."},
        {IDS_ERR_OPEN_LOG, "Error occured when trying to open a log file."},
        {IDS_ERR_PATH_FINDING, "Error occured when creating the Path Finding component."},
        {IDS_ERR_ROUTER_NOTIFY, "Error occured when creating the local Router Notify Component"},
        {IDS_ERR_FILE_ACCESS, "Error occured when creating the File Access Component"},
        {IDS_INVALID_PORT, "You have entered an invalid port number."},
        {IDS_INVALID_ORIGINAL_NUMBER, "Please specify a valid original physical number."},
        {IDS_INVALID_NEW_NUMBER, "Please specify a valid new physical number."},
        {IDS_INVALID_ORIGINAL_RANGE, "Please specify a valid original range."},
        {IDS_INVALID_NEW_RANGE, "Please specify a valid new range."},
        {IDS_ERR_REGISTRY, "Error occured when reading the Corvane Registry."},
        {IDS_ERR_NETWORK_DESC,
         "Error occured when reading the Network Description Table component."},
        {IDS_TOO_MANY_REMAPS,
         "There are more than 64 remaps in the Input and Output Remap Tables.\nThe system can "
         "not remap more than 64 inputs/outputs.\n\nPlease check the Remap Table again to assure "
         "no more than 64 remaps in the system."},
        {IDS_ERR_WRITE_LOG, "Error occurred while trying to write to the log file"},
        {IDS_ERR_REBOOT_PORT,
         "Error occurred while trying to read the reboot port from the Corvane Registry "
         "component."},
        {IDS_ERR_BOARD_STATUS, "Error occurred when reading the Board Status Server."},
        {IDS_ERR_BOARD_NOTIFY, "Error occurred when reading the board notify component."},
        {IDS_COUNT_TOO_LARGE,
         "The 'Count' you entered must be smaller or equal to the 'Range' in the System "
         "Definition Table."},
        {IDS_FILE_EXISTS, "You can not create a file that already exists."},
        {IDS_FILE_SHARE_VIOLATION, "Share violation in opening the file."},
        {IDS_FILE_GENERAL_FAILURE, "General file open failure."},
        {IDS_FILE_NOT_FOUND, "You can not open a file that does not exist."},
        {IDS_FILE_READ_ONLY, "Can not open a read-only file for writing."},
        {IDS_FILE_NO_HANDLES, "The file server ran out of handles and could not open more files."},
        {IDS_FILE_UNKNOWN_FAILURE, "File open failed for unknown reason."},
        {IDS_CLICK_DETAIL, "Please click DETAIL button to see detail message."},
        {IDS_BOARDS_NOT_RESPONDING,
         "Some board(s) are not responding.\nPlease compare board list to find the board(s) that "
         "did not respond."},
        {IDS_NO_BOARD, "The remap data does not apply to any board.\nRemap abort!"},
        {IDS_ERR_CONTROL_CENTER, "Error occured while connecting to the Control Center Component"},

        {IDS_SYSDEF_CHANGED,
         "The system configuration has changed since the last time the system definition table "
         "was saved.\nPlease re-enter the system definition table again."},
        {IDS_NO_SYSDEF,
         "There is no default System Definition Table.\nTo use Tavora, you have to set the "
         "System Definition Table first.\n\nWould you like to set the System Definition Table "
         "now?"},
        {IDS_REPLACE_FILE, "This file already exists.\nReplace existing file?"},

        {IDS_ERROR_DETAIL,
         "Error Code: (0x%x)\r\nSystem Erro Msg: %s\r\nDCOM Error Msg: %s\r\nFile: %s\r\nLine# "
         "%d"},
        {IDS_ROWS_CONFLICT, "Row# %d conflicts with Row# %d\nPlease reenter these rows again!"},
        {IDS_ROW_INVALID, "The data you entered in Row# %d is invalid, please re-enter."},
        {IDS_INVALID_RANGE, "You have entered an invalid %s for Switcher %s, Level %s"},

        {IDS_SAME_REMAP,
         "There are already %s mappings in the range you have specified.\nRemapping will "
         "override those mappings in the %s Remap Table.\n\nDo you want to proceed?"},
        {IDS_ORIGINAL_REMAPPED,
         "The original %s %s number '%d' you have specified\nwas previously remapped to %s "
         "number '%d'.\n\nRemapping will override the previous remapping.\n\nDo you want to "
         "proceed?"},
        {IDS_NEW_REMAPPED,
         "The new %s %s number '%d' you have specified\nwas previously remapped from %s number "
         "'%d'.\n\nRemapping will override the previous remapping.\n\nDo you want to proceed?"},
        {IDS_ORIGINAL_RANGE_REMAPPED,
         "The original %s %s number '%d-%d' you have specified\nwere previously remapped to %s "
         "number '%d-%d'.\n\nRemapping will override the previous remapping.\n\nDo you want to "
         "proceed?"},
        {IDS_NEW_RANGE_REMAPPED,
         "The new %s %s number '%d-%d' you have specified\nwere previously remapped from %s "
         "number '%d-%d'.\n\nRemapping will override the previous remapping.\n\nDo you want to "
         "proceed?"},
        {IDS_REMAP_CONFLICT,
         "The remapping entry you have just specified conflicts with previous remap.\nPlease "
         "check your data again."},

        // Status-bar prompt of the View menu's System Definition item (same id as the command).
        {ID_VIEW_SYSTEM_DEFINITION, "Display System Definition Table"},
    };
}

}  // namespace tav::resparts
