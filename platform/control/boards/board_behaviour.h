// How a simulated router board answers, so that every outcome of a board notification can be
// shown: confirming, never answering, answering late, or answering with data that do not confirm.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace control {

struct BoardBehaviour {
    enum class Kind {
        Normal,     // reports what it holds at once
        Silent,     // takes the data but never reports
        Delayed,    // reports what it holds after `delay`
        WrongCrc,   // reports the CRC of the data it took plus one
        BadStatus,  // reports status 1 for the data it took
    };
    Kind kind = Kind::Normal;
    std::chrono::milliseconds delay{0};

    static BoardBehaviour Normal() { return {}; }
    static BoardBehaviour Silent() { return {Kind::Silent, {}}; }
    static BoardBehaviour Delayed(std::chrono::milliseconds d) { return {Kind::Delayed, d}; }
    static BoardBehaviour WrongCrc() { return {Kind::WrongCrc, {}}; }
    static BoardBehaviour BadStatus() { return {Kind::BadStatus, {}}; }

    bool operator==(const BoardBehaviour&) const = default;
};

// The configuration's spelling: "normal", "silent", "wrongCrc", "badStatus"; a delay is written
// {"delayMs": N} and described as "delayMs N".
std::optional<BoardBehaviour::Kind> BehaviourFromName(std::string_view name);
std::string DescribeBehaviour(const BoardBehaviour& behaviour);

}  // namespace control
