// The user-interface thread's message queue. Any thread may post; only the user-interface thread
// peeks and dispatches. A posted quit stays pending until it is taken, like the platform's.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/fw/types.h"

namespace fw {

struct Msg {
    HWND hwnd = kNoWindow;
    UINT message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<void()> call;  // set for a posted call instead of a window message
};

class MessageQueue {
  public:
    // Thread-safe. Returns FALSE only when the queue refuses the message (never in practice).
    BOOL Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Thread-safe: a work item run on the user-interface thread by the pump, as a cross-apartment
    // call is delivered there. The function runs when its turn in the queue comes.
    void PostCall(std::function<void()> call);
    void PostQuit(int exitCode);

    // User-interface thread. Takes the next message (a pending quit comes after every posted
    // message) into msg; false when nothing waits.
    bool Peek(Msg& msg);
    bool HasWaiting() const;
    // Blocks until something waits or the timeout (milliseconds) passes; true when something waits.
    bool WaitFor(int timeoutMs);

    // Called after every post, from the posting thread: the back end wakes its event loop.
    void SetWakeHandler(std::function<void()> wake);

    // Drops every message and a pending quit (used between runs in one process, e.g. tests).
    void Clear();

  private:
    void Wake();

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Msg> m_items;
    std::optional<int> m_quit;
    std::function<void()> m_wake;
};

MessageQueue& TheMessageQueue();

// Platform-style entry points on the one queue.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Takes the next message; false when none waits (PM_REMOVE semantics).
bool PeekMessage(Msg& msg);
// Delivers a message to its window (or runs a posted call). Returns false for WM_QUIT.
bool DispatchMessage(const Msg& msg);
// Takes and dispatches every waiting message. Returns false when a quit was taken (it is then
// posted again so that every enclosing loop sees it), true otherwise.
bool PumpWaitingMessages();

}  // namespace fw
