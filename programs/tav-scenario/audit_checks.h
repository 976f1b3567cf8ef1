// The audit trail a scenario leaves: the player sends it to a file of the run's own (never the
// journal, never the home folder) and checks that file's events.
#pragma once

#include <filesystem>

#include "platform/headless/scenario_driver.h"

// audit-has "NAME=value" ...: one event of the file holds each of these fields (as the file spells
// them); audit-lines N: the file holds N events. False for any other line.
bool CheckAudit(const headless::ScriptLine& line, const std::filesystem::path& file);
