// The objects the control system calls back: interfaces, reference counts and notifications.
#include "app/tests/app_fixture.h"
#include "platform/fw/message_queue.h"

namespace apptest {
namespace {

class SinkTest : public AppTest {};

TEST_F(SinkTest, BoardNotificationsByType) {
    control::Config config = control::DefaultConfig();
    Connect(config);
    const std::uint16_t count = app->GetBoardCount();
    ASSERT_GT(count, 1);
    com::ComPtr<control::IBoardNotifySink> sink;
    ASSERT_EQ(app->GetBoardNotifySink()->QueryInterface(control::IBoardNotifySink::kIid,
                                                        sink.ReleaseAndGetVoidAddressOf()),
              com::S_OK);
    const std::uint8_t data[8] = {1, 0, 0x2D, 0xCB, 0, 0, 0, 0};
    struct Case {
        std::int32_t type;
        std::uint16_t board;
        com::HRESULT expected;
        bool copies;
    };
    const Case cases[] = {
        {8, 1, com::S_OK, true},    {8, count, com::S_OK, false},  // past the table: ignored
        {1, 0, com::S_OK, false},   {2, 0, com::S_OK, false},     {4, 0, com::S_OK, false},
        {16, 0, com::S_OK, false},  {32, 0, com::S_OK, false},    {0, 0, com::E_FAIL, false},
        {3, 0, com::E_FAIL, false}, {64, 0, com::E_FAIL, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " board " + std::to_string(c.board));
        BoardInfo* before = app->GetBoardInfo(c.board);
        const BoardInfo saved = before != nullptr ? *before : BoardInfo{};
        if (before != nullptr) {
            before->fill(0xEE);
        }
        EXPECT_EQ(sink->Notify(0, c.board, c.type, 8, data, 0, 0, 0, 0), c.expected);
        if (BoardInfo* after = app->GetBoardInfo(c.board)) {
            EXPECT_EQ((*after)[2], c.copies ? 0x2D : 0xEE);
            *after = saved;
        }
    }
}

TEST_F(SinkTest, SinksWithoutOwnerRefuse) {
    Connect();
    com::ComPtr<control::IBoardNotifySink> board;
    com::ComPtr<control::IRouterNotifySink> router(new CRouterNotifySink(app.get()));
    app->GetBoardNotifySink()->QueryInterface(control::IBoardNotifySink::kIid,
                                              board.ReleaseAndGetVoidAddressOf());
    EXPECT_EQ(router->Notify(0, 0, 0, 0, 0, 0, 0, 0, 0), com::S_OK);
    static_cast<CRouterNotifySink*>(router.Get())->SetOwner(nullptr);
    EXPECT_EQ(router->Notify(0, 0, 0, 0, 0, 0, 0, 0, 0), com::E_FAIL);
    // Released by the application, the board sink no longer writes into its table.
    app->FreeConfiguration();
    const std::uint8_t data[8] = {};
    EXPECT_EQ(board->Notify(0, 0, 8, 8, data, 0, 0, 0, 0), com::E_FAIL);
}

TEST_F(SinkTest, InterfacesAndReferenceCounts) {
    Start();
    com::ComPtr<CControlCenterSink> sink(new CControlCenterSink());
    com::IUnknown* unknown = nullptr;
    ASSERT_EQ(sink->QueryInterface(com::IID_IUnknown, reinterpret_cast<void**>(&unknown)),
              com::S_OK);
    EXPECT_EQ(unknown, static_cast<com::IUnknown*>(sink.Get()));
    EXPECT_EQ(unknown->Release(), 1u);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(sink->QueryInterface(control::IBoardNotifySink::kIid, &other), com::E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(sink->AddRef(), 2u);
    EXPECT_EQ(sink->Release(), 1u);
}

TEST_F(SinkTest, ConfigurationChangeIsPostedToTheMainWindowOnly) {
    Start();
    com::ComPtr<CControlCenterSink> sink(new CControlCenterSink());
    EXPECT_EQ(sink->ConfigSetChanging(), com::S_OK);  // no main window yet: nothing to tell
    EXPECT_FALSE(fw::TheMessageQueue().HasWaiting());

    fw::CDialog main(102);
    ASSERT_TRUE(main.Create(102));
    app->m_pMainWnd = &main;
    EXPECT_EQ(sink->ConfigSetChanging(), com::S_OK);
    fw::Msg msg;
    ASSERT_TRUE(fw::PeekMessage(msg));
    EXPECT_EQ(msg.hwnd, main.GetSafeHwnd());
    EXPECT_EQ(msg.message, 0x8001u);
    app->m_pMainWnd = nullptr;
}

}  // namespace
}  // namespace apptest
