// A plain-text record of what a person would have seen: windows opened and closed, message boxes
// with their answers, print dialogs and printed documents.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/fw/backend.h"

namespace headless {

class Transcript {
  public:
    void Add(std::string line);
    const std::vector<std::string>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }
    // Each line is also handed to echo as it is added (the scenario player prints them).
    void SetEcho(std::function<void(const std::string&)> echo) { m_echo = std::move(echo); }

  private:
    std::vector<std::string> m_lines;
    std::function<void(const std::string&)> m_echo;
};

// Quotes a text for a transcript line: backslash, quote, CR and LF escaped as \\ \" \r \n.
std::string Quote(const std::string& text);
std::string IconName(fw::UINT type);     // "none", "stop", "question", "exclamation", "asterisk"
std::string ButtonsName(fw::UINT type);  // "ok", "okcancel", "yesno", "yesnocancel"
std::string AnswerName(int answer);      // "ok", "cancel", "yes", "no", ...
// The message box line without its answer: msgbox caption="..." icon=... buttons=... text="..."
// and, when the box has one, detail="..."
std::string DescribeMessageBox(const fw::MessageBoxRequest& request);

}  // namespace headless
