#include "platform/fw/message_queue.h"

#include <chrono>

#include "platform/fw/backend.h"
#include "platform/fw/window.h"

namespace fw {

BOOL MessageQueue::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back(Msg{hwnd, message, wParam, lParam, {}});
    }
    Wake();
    return TRUE;
}

void MessageQueue::PostCall(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back(Msg{kNoWindow, WM_NULL, 0, 0, std::move(call)});
    }
    Wake();
}

void MessageQueue::PostQuit(int exitCode) {
    {
        std::lock_guard lock(m_mutex);
        m_quit = exitCode;
    }
    Wake();
}

void MessageQueue::Wake() {
    m_cv.notify_all();
    std::function<void()> wake;
    {
        std::lock_guard lock(m_mutex);
        wake = m_wake;
    }
    if (wake) {
        wake();
    }
}

bool MessageQueue::Peek(Msg& msg) {
    std::lock_guard lock(m_mutex);
    if (!m_items.empty()) {
        msg = std::move(m_items.front());
        m_items.pop_front();
        return true;
    }
    if (m_quit) {
        msg = Msg{kNoWindow, WM_QUIT, static_cast<WPARAM>(*m_quit), 0, {}};
        m_quit.reset();
        return true;
    }
    return false;
}

bool MessageQueue::HasWaiting() const {
    std::lock_guard lock(m_mutex);
    return !m_items.empty() || m_quit.has_value();
}

bool MessageQueue::WaitFor(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [this] { return !m_items.empty() || m_quit.has_value(); });
}

void MessageQueue::SetWakeHandler(std::function<void()> wake) {
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

void MessageQueue::Clear() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
    m_quit.reset();
}

MessageQueue& TheMessageQueue() {
    static MessageQueue queue;
    return queue;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return TheMessageQueue().Post(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    TheMessageQueue().PostQuit(exitCode);
}

bool PeekMessage(Msg& msg) {
    // Like the platform's peek, the back end's own input and paint events are handled here too,
    // so that a polling loop keeps the windows alive.
    if (HasBackend()) {
        GetBackend().ProcessPendingEvents();
    }
    return TheMessageQueue().Peek(msg);
}

bool DispatchMessage(const Msg& msg) {
    if (msg.message == WM_QUIT && !msg.call) {
        return false;
    }
    if (msg.call) {
        msg.call();
        return true;
    }
    if (CWnd* wnd = CWnd::FromHandle(msg.hwnd)) {
        wnd->WindowProc(msg.message, msg.wParam, msg.lParam);
    }
    return true;
}

bool PumpWaitingMessages() {
    Msg msg;
    while (PeekMessage(msg)) {
        if (!DispatchMessage(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
    }
    return true;
}

}  // namespace fw
