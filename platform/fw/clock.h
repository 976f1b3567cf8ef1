// Time: a wall clock in whole seconds, sleeping, and local time formatting with English month
// names whatever the process locale.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace fw {

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since the epoch.
    virtual std::int64_t Now() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
};

class SystemClock final : public Clock {
  public:
    std::int64_t Now() override;
    void Sleep(unsigned milliseconds) override;
};

// A clock the tests control: sleeping advances it instead of waiting.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(std::int64_t startSeconds = 1'000'000'000) : m_ms(startSeconds * 1000) {}
    std::int64_t Now() override;
    void Sleep(unsigned milliseconds) override;
    void Advance(std::int64_t milliseconds);
    // Called, outside the clock's lock, whenever sleeping reaches a new whole second (so that
    // whatever runs in real time beside the program, such as simulated boards, can keep step).
    void SetSecondHook(std::function<void(std::int64_t seconds)> hook);

  private:
    std::mutex m_mutex;
    std::int64_t m_ms;
    std::function<void(std::int64_t)> m_secondHook;
};

// The clock in use (the system clock unless one is installed).
Clock& GetClock();
void InstallClock(Clock* clock);

// Formats a time as local time. Supports %H %M %S %d %B %Y %m %y and %%; %B is the full English
// month name.
std::string FormatLocalTime(std::int64_t seconds, const std::string& format);

}  // namespace fw
