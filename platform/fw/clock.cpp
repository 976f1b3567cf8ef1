#include "platform/fw/clock.h"

#include <array>
#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace fw {

namespace {

std::atomic<Clock*> g_clock{nullptr};

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + (value / 10) % 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::int64_t SystemClock::Now() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

void SystemClock::Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t ManualClock::Now() {
    std::lock_guard lock(m_mutex);
    return m_ms / 1000;
}

void ManualClock::Sleep(unsigned milliseconds) {
    const std::int64_t before = Now();
    Advance(milliseconds);
    const std::int64_t after = Now();
    if (after != before && m_secondHook) {
        m_secondHook(after);
    }
}

void ManualClock::SetSecondHook(std::function<void(std::int64_t seconds)> hook) {
    m_secondHook = std::move(hook);
}

void ManualClock::Advance(std::int64_t milliseconds) {
    std::lock_guard lock(m_mutex);
    m_ms += milliseconds;
}

Clock& GetClock() {
    static SystemClock systemClock;
    Clock* clock = g_clock;
    return clock != nullptr ? *clock : systemClock;
}

void InstallClock(Clock* clock) {
    g_clock = clock;
}

std::string FormatLocalTime(std::int64_t seconds, const std::string& format) {
    // Our own formatter: the C library's %B follows the process locale, and the files and
    // printouts need English month names whatever the desktop's language.
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        switch (format[++i]) {
            case 'H':
                AppendTwoDigits(out, tm.tm_hour);
                break;
            case 'M':
                AppendTwoDigits(out, tm.tm_min);
                break;
            case 'S':
                AppendTwoDigits(out, tm.tm_sec);
                break;
            case 'd':
                AppendTwoDigits(out, tm.tm_mday);
                break;
            case 'm':
                AppendTwoDigits(out, tm.tm_mon + 1);
                break;
            case 'y':
                AppendTwoDigits(out, tm.tm_year % 100);
                break;
            case 'Y':
                out += std::to_string(tm.tm_year + 1900);
                break;
            case 'B':
                out += kMonths[static_cast<std::size_t>(tm.tm_mon)];
                break;
            case '%':
                out += '%';
                break;
            default:
                out += '%';
                out += format[i];
                break;
        }
    }
    return out;
}

}  // namespace fw
