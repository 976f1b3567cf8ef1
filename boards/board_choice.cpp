#include "boards/board_choice.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/tav_app.h"
#include "common/format.h"
#include "platform/com/task_memory.h"
#include "res/resource.h"

namespace boards {

namespace {

constexpr std::uint8_t kTypeQ = 0x51;
constexpr std::uint8_t kTypeB = 0x42;

using TaskText = std::unique_ptr<char, void (*)(void*)>;
using TaskBytes = std::unique_ptr<std::uint8_t, void (*)(void*)>;

class Chooser {
  public:
    Chooser(CTavApp& app, std::vector<NotifyBoard>& chosen, fw::CWnd& owner)
        : m_app(app), m_chosen(chosen), m_owner(owner) {}

    bool Run(const std::vector<unsigned>& rows, std::uint16_t& networkBoards) {
        control::INetworkDescTable* network = m_app.GetNetworkDescTable();
        const com::HRESULT hr =
            network != nullptr ? network->GetNetworkBoardCount(&networkBoards) : com::E_POINTER;
        if (com::FAILED(hr)) {
            m_app.ReportError(hr, "TavDlg", __LINE__);
            return false;
        }
        m_networkBoards = networkBoards;
        m_chosen.clear();
        std::vector<unsigned> candidates = rows;
        if (candidates.empty()) {
            for (int r = 0; r < m_app.GetLevelCount(); ++r) {
                candidates.push_back(static_cast<unsigned>(r));
            }
        }
        for (const unsigned row : candidates) {
            if (!ChooseForRow(row)) {
                return false;
            }
        }
        if (m_chosen.empty()) {
            m_owner.MessageBox(fw::LoadString(IDS_NO_BOARD), nullptr, fw::MB_ICONHAND);
            return false;
        }
        return true;
    }

  private:
    bool Fail(com::HRESULT hr, int line) {
        m_app.ReportError(hr, "TavDlg", line);
        return false;
    }

    // The board's record is compared with what it reports, and the record exists only for
    // board numbers below the board table's count.
    bool Addressable(std::uint16_t board, unsigned row) {
        if (board < m_app.GetBoardCount()) {
            return true;
        }
        m_owner.MessageBox(tav::Format("Board %u, serving switcher level row %u, is not one of the "
                                       "%u boards of the network.\nRemap abort!",
                                       static_cast<unsigned>(board), row,
                                       static_cast<unsigned>(m_app.GetBoardCount())),
                           nullptr, fw::MB_ICONHAND);
        return false;
    }

    bool Append(std::uint16_t board, const std::string& name, unsigned row) {
        control::INetworkDescTable* network = m_app.GetNetworkDescTable();
        std::uint16_t length = 0;
        std::uint8_t* block = nullptr;
        const com::HRESULT hr = network->GetBoardAddress(board, &length, &block);
        const TaskBytes owned(block, com::CoTaskMemFree);
        if (com::FAILED(hr)) {
            return Fail(hr, __LINE__);
        }
        if (block == nullptr || length < kAddressBytes) {
            m_owner.MessageBox(
                tav::Format("The address of board %u (\"%s\"), serving switcher level "
                            "row %u, has %u bytes; a board address has at least "
                            "%u.\nRemap abort!",
                            static_cast<unsigned>(board), name, row,
                            static_cast<unsigned>(block == nullptr ? 0 : length),
                            static_cast<unsigned>(kAddressBytes)),
                nullptr, fw::MB_ICONHAND);
            return false;
        }
        NotifyBoard chosen{board, name, std::vector<std::uint8_t>(block, block + length)};
        chosen.address.push_back(0);
        m_chosen.push_back(std::move(chosen));
        return true;
    }

    bool ChooseForRow(unsigned row) {
        std::uint16_t board = 0;
        control::ISwitcherDescTable* switchers = m_app.GetSwitcherDescTable();
        com::HRESULT hr = switchers != nullptr
                              ? switchers->GetLevelBoard(static_cast<std::uint16_t>(row), &board)
                              : com::E_POINTER;
        if (com::FAILED(hr)) {
            return Fail(hr, __LINE__);
        }
        if (std::any_of(m_chosen.begin(), m_chosen.end(),
                        [board](const NotifyBoard& b) { return b.number == board; })) {
            return true;
        }
        if (!Addressable(board, row)) {
            return false;
        }
        control::INetworkDescTable* network = m_app.GetNetworkDescTable();
        std::uint8_t type = 0;
        if (hr = network->GetBoardType(board, &type); com::FAILED(hr)) {
            return Fail(hr, __LINE__);
        }
        if (type != kTypeQ && type != kTypeB) {
            return true;
        }
        std::uint16_t length = 0;
        char* text = nullptr;
        hr = network->GetBoardName(board, &length, &text);
        const TaskText name(text, com::CoTaskMemFree);
        if (com::FAILED(hr)) {
            return Fail(hr, __LINE__);
        }
        const std::string boardName = name ? name.get() : "";
        if (!Append(board, boardName, row)) {
            return false;
        }
        // The board that shares its name: only the first one found is considered.
        for (std::uint16_t j = 0; j < m_networkBoards; ++j) {
            if (j == board) {
                continue;
            }
            const NameOf* other = Name(j);
            if (other == nullptr) {
                return false;
            }
            if (other->present &&
                std::strncmp(boardName.c_str(), other->text.c_str(), other->length) == 0) {
                std::uint8_t flag = 0;
                network = m_app.GetNetworkDescTable();
                if (hr = network->GetBoardFlag(j, &flag); com::FAILED(hr)) {
                    return Fail(hr, __LINE__);
                }
                if (flag == 1) {
                    if (!Addressable(j, row) || !Append(j, boardName, row)) {
                        return false;
                    }
                    m_chosen.back().partnerOf = board;
                }
                return true;
            }
        }
        return true;
    }

    // A board's name as the Network Description Table gives it (the length counts the
    // terminating 0). Each is asked for once per choice: with thousands of boards the same-name
    // search would otherwise ask for every name again for every board chosen.
    struct NameOf {
        bool present = false;
        std::string text;
        std::uint16_t length = 0;
    };
    const NameOf* Name(std::uint16_t board) {
        if (m_names.size() < m_networkBoards) {
            m_names.resize(m_networkBoards);
        }
        std::optional<NameOf>& cached = m_names[board];
        if (!cached) {
            std::uint16_t length = 0;
            char* text = nullptr;
            const com::HRESULT hr =
                m_app.GetNetworkDescTable()->GetBoardName(board, &length, &text);
            const TaskText owned(text, com::CoTaskMemFree);
            if (com::FAILED(hr)) {
                Fail(hr, __LINE__);
                return nullptr;
            }
            cached =
                NameOf{owned != nullptr, owned ? std::string(owned.get()) : std::string(), length};
        }
        return &*cached;
    }

    CTavApp& m_app;
    std::vector<NotifyBoard>& m_chosen;
    fw::CWnd& m_owner;
    std::uint16_t m_networkBoards = 0;
    std::vector<std::optional<NameOf>> m_names;
};

}  // namespace

bool ChooseBoards(CTavApp& app, const std::vector<unsigned>& rows, std::vector<NotifyBoard>& chosen,
                  std::uint16_t& networkBoards, fw::CWnd& owner) {
    return Chooser(app, chosen, owner).Run(rows, networkBoards);
}

}  // namespace boards
