#include "platform/control/configuration/default_config.h"

namespace control {

std::string_view DefaultConfigText() {
    return R"json({
  "activeSet": true,
  "configSetChanging": false,
  "rebootPort": 5150,
  "statusPort": 5151,
  "levels": [
    {"switcher": "MAIN",   "level": "VIDEO",  "inputs": 128, "outputs": 64, "board": 0},
    {"switcher": "MAIN",   "level": "AUDIO1", "inputs": 64,  "outputs": 64, "board": 1},
    {"switcher": "MAIN",   "level": "AUDIO2", "inputs": 64,  "outputs": 32, "board": 1},
    {"switcher": "STUDIO", "level": "VIDEO",  "inputs": 32,  "outputs": 32, "board": 3},
    {"switcher": "STUDIO", "level": "TC",     "inputs": 16,  "outputs": 16, "board": 4}
  ],
  "boards": [
    {"name": "MAINVID", "address": "02:00:00:00:00:01", "type": "Q", "flag": 0},
    {"name": "MAINAUD", "address": "02:00:00:00:00:02", "type": "Q", "flag": 0},
    {"name": "MAINVID", "address": "02:00:00:00:00:03", "type": "Q", "flag": 1},
    {"name": "STUDIO",  "address": "02:00:00:00:00:04", "type": "B", "flag": 0},
    {"name": "TCGEN",   "address": "02:00:00:00:00:05", "type": "C", "flag": 0},
    {"name": "PANEL1",  "address": "02:00:00:00:00:06", "type": "C", "flag": 0}
  ]
}
)json";
}

}  // namespace control
