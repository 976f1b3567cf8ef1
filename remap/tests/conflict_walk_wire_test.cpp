// What the boards are sent after the conflict walk has changed the table: the RE-MAP message as a
// listener of the test's own catches it at the reboot port, byte for byte.
#include <algorithm>
#include <array>
#include <string_view>

#include "platform/control/udp_socket.h"
#include "remap/tests/main_dialog_fixture.h"

namespace apptest {
namespace {

constexpr std::string_view kMarker = "RE-MAP";

class ConflictWalkOnTheWire : public MainDialogTest {
  protected:
    void Start(const std::string& inputTable) {
        control::Config config = control::DefaultConfig();
        config.rebootPort = listener.LocalPort();
        config.statusPort = 0;
        Put("TAV.SDF", kMainDialogSysDef);
        Put("TAV.IXT", inputTable);
        Connect(config);
        ASSERT_TRUE(app->SetupSocket());
        ASSERT_TRUE(dlg.Create(IDD_TAV_DIALOG));
        control::SetBoardRefreshHandler([this](std::int32_t) { Confirm(); });
    }
    // Every board chosen reports what the message asked of it.
    void Confirm() {
        while (auto datagram = listener.TryReceive()) {
            if (datagram->bytes.size() >= 6 &&
                std::equal(kMarker.begin(), kMarker.end(), datagram->bytes.begin())) {
                sent.push_back(datagram->bytes);
            }
        }
        if (sent.empty()) {
            return;
        }
        const std::vector<std::uint8_t>& last = sent.back();
        const auto& chosen = dlg.NotifyBoardList();
        const std::size_t at = 12 + 6 * chosen.size();
        if (last.size() < at + 4) {
            return;
        }
        for (const auto& b : chosen) {
            std::array<std::uint8_t, 8> record = *app->GetBoardInfo(b.number);
            record[0] = last[at] > 0 ? 1 : 0;
            record[2] = last[at + 3];
            record[3] = last[at + 2];
            record[6] = 0;
            control::AcceptBoardReport(b.number, record);
        }
    }

    // Single 20 -> 100 over the input table; both questions answered Yes.
    void RemapOver(const std::string& table);

    control::UdpSocket listener = control::UdpSocket::BindLoopback(0);
    std::vector<std::vector<std::uint8_t>> sent;
};

// 16-31 -> 112-127 and 7 -> 100 in force, in either order; single 20 -> 100 splits the board
// around 20 and takes 100 from 7, so that 100 carries one original.
const std::string kBoard = "14:05:09,March 03 2002,MAIN,VIDEO,0,16,31,112,127,card 2\r\n";
const std::string kSingle = "14:05:09,March 03 2002,MAIN,VIDEO,0,7,7,100,100,spare\r\n";

// clang-format off
const std::vector<std::uint8_t> kExpected = {
    'R', 'E', '-', 'M', 'A', 'P',
    0x02, 0x00, 0x00, 0x00, 0x00, 0x01,  // MAINVID
    0x02, 0x00, 0x00, 0x00, 0x00, 0x03,  // its same-name partner
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    16, 'I', 0x81, 0xD2,
    0, 16, 0x00, 16, 0x00, 112,
    0, 0, 0x00, 17, 0x00, 113,
    0, 0, 0x00, 18, 0x00, 114,
    0, 0, 0x00, 19, 0x00, 115,
    0, 0, 0x00, 21, 0x00, 117,
    0, 0, 0x00, 22, 0x00, 118,
    0, 0, 0x00, 23, 0x00, 119,
    0, 0, 0x00, 24, 0x00, 120,
    0, 0, 0x00, 25, 0x00, 121,
    0, 0, 0x00, 26, 0x00, 122,
    0, 0, 0x00, 27, 0x00, 123,
    0, 0, 0x00, 28, 0x00, 124,
    0, 0, 0x00, 29, 0x00, 125,
    0, 0, 0x00, 30, 0x00, 126,
    0, 0, 0x00, 31, 0x00, 127,
    0, 0, 0x00, 20, 0x00, 100,  // the new remap, last of its row
};
// clang-format on

void ConflictWalkOnTheWire::RemapOver(const std::string& table) {
    Start("CONFIGCRC(0)\r\n" + table);
    Prepare(IoType::Input, "MAIN", "VIDEO", 0);
    Type(IDC_ORIGINAL_NUMBER, "20");
    Choose(IDC_NEW_NUMBER, "100");
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    driver.Answer(fw::IDYES);  // 20 was on 116
    driver.Answer(fw::IDYES);  // 100 carried 7
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    Confirm();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent.front(), kExpected);
    const std::string file = Get("TAV.IXT");
    EXPECT_NE(file.find(",MAIN,VIDEO,0,16,19,112,115,card 2\r\n"), std::string::npos);
    EXPECT_NE(file.find(",MAIN,VIDEO,0,21,31,117,127,card 2\r\n"), std::string::npos);
    EXPECT_NE(file.find(",MAIN,VIDEO,0,20,20,100,100, \r\n"), std::string::npos);
    EXPECT_EQ(file.find(",7,7,100,100,"), std::string::npos);
}

TEST_F(ConflictWalkOnTheWire, BoardFirst) {
    RemapOver(kBoard + kSingle);
}

TEST_F(ConflictWalkOnTheWire, SingleFirst) {
    RemapOver(kSingle + kBoard);
}

}  // namespace
}  // namespace apptest
