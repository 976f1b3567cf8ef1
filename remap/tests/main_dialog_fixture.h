// The main dialog created on the headless back end after a start on the built-in configuration
// with a System Definition file of known idle ports and board sizes, acted on as an operator would.
#pragma once

#include <string>
#include <vector>

#include "app/tests/app_fixture.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace apptest {

// Board sizes and idle ports chosen so that every list has something to show: whole boards that
// match the board size and singles that do not, a level without boards (MAIN AUDIO2), a level
// whose last board is shorter (STUDIO VIDEO: 32 ports in boards of 12).
inline constexpr const char* kMainDialogSysDef =
    "    MAIN   VIDEO 128  64 01616 2 1112 16100  4 48 16\n"
    "    MAIN  AUDIO1  64  64 1 8 8 1 0 56  8\n"
    "    MAIN  AUDIO2  64  32 2 0 0 0 1 30  2\n"
    "  STUDIO   VIDEO  32  32 31212 2 1  0 12 20 12 24  8\n"
    "  STUDIO      TC  16  16 4 4 4 1 1 12  4 12  4\n";

class MainDialogTest : public AppTest {
  protected:
    // Starts as the application does up to the main dialog, which is then open and idle.
    void Open(const char* sysDef = kMainDialogSysDef) {
        if (sysDef != nullptr) {
            Put("TAV.SDF", sysDef);
        } else {
            driver.Answer(fw::IDNO);  // the offer to define a table now
        }
        Connect();
        ASSERT_TRUE(dlg.Create(IDD_TAV_DIALOG));
    }
    fw::Control& Item(int id) { return headless::Item(dlg, id); }
    void Click(int id) { Item(id).UserClick(); }
    void Type(int id, const std::string& text) { Item(id).UserType(text); }
    // Chooses the item with this text; an item the list does not hold is added first, so that a
    // test can offer what the lists never would.
    void Choose(int id, const std::string& text) {
        fw::Control& list = Item(id);
        int index = list.FindStringExact(-1, text);
        if (index < 0) {
            index = list.AddString(text);
        }
        list.UserSelect(index);
    }
    // INPUT or OUTPUT, switcher and level, then Single or Whole Board.
    void Prepare(IoType io, const std::string& switcher, const std::string& level, int mode) {
        Click(io == IoType::Input ? IDC_INPUT : IDC_OUTPUT);
        Choose(IDC_SWITCHER, switcher);
        Choose(IDC_LEVEL, level);
        Click(mode == 0 ? IDC_SINGLE : IDC_WHOLE_BOARD);
    }
    std::vector<std::string> Items(int id) { return Item(id).Items(); }
    std::string Selected(int id) {
        const fw::Control& list = Item(id);
        return list.GetItemText(list.GetCurSel());
    }
    bool Enabled(int id) { return Item(id).IsWindowEnabled() != fw::FALSE; }
    // The message boxes shown since the last call, as the transcript has them.
    std::vector<std::string> NewBoxes() {
        std::vector<std::string> boxes;
        for (std::size_t i = m_nSeen; i < Transcript().size(); ++i) {
            if (Transcript()[i].rfind("msgbox ", 0) == 0) {
                boxes.push_back(Transcript()[i]);
            }
        }
        m_nSeen = Transcript().size();
        return boxes;
    }

    CTavDlg dlg;

  private:
    std::size_t m_nSeen = 0;
};

// The transcript line of an OK box with the stop icon.
inline std::string StopBox(const std::string& caption, const std::string& text) {
    return "msgbox caption=\"" + caption + "\" icon=stop buttons=ok text=\"" + text + "\" -> ok";
}

}  // namespace apptest
