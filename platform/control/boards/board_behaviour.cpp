#include "platform/control/boards/board_behaviour.h"

namespace control {

namespace {

struct Named {
    std::string_view name;
    BoardBehaviour::Kind kind;
};

constexpr Named kNames[] = {
    {"normal", BoardBehaviour::Kind::Normal},
    {"silent", BoardBehaviour::Kind::Silent},
    {"wrongCrc", BoardBehaviour::Kind::WrongCrc},
    {"badStatus", BoardBehaviour::Kind::BadStatus},
};

}  // namespace

std::optional<BoardBehaviour::Kind> BehaviourFromName(std::string_view name) {
    for (const Named& n : kNames) {
        if (n.name == name) {
            return n.kind;
        }
    }
    return std::nullopt;
}

std::string DescribeBehaviour(const BoardBehaviour& behaviour) {
    if (behaviour.kind == BoardBehaviour::Kind::Delayed) {
        return "delayMs " + std::to_string(behaviour.delay.count());
    }
    for (const Named& n : kNames) {
        if (n.kind == behaviour.kind) {
            return std::string(n.name);
        }
    }
    return "normal";
}

}  // namespace control
