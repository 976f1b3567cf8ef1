#include "platform/headless/transcript.h"

namespace headless {

void Transcript::Add(std::string line) {
    m_lines.push_back(std::move(line));
    if (m_echo) {
        m_echo(m_lines.back());
    }
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
                break;
        }
    }
    out += '"';
    return out;
}

std::string IconName(fw::UINT type) {
    switch (type & fw::MB_ICONMASK) {
        case fw::MB_ICONHAND:
            return "stop";
        case fw::MB_ICONQUESTION:
            return "question";
        case fw::MB_ICONEXCLAMATION:
            return "exclamation";
        case fw::MB_ICONASTERISK:
            return "asterisk";
        default:
            return "none";
    }
}

std::string ButtonsName(fw::UINT type) {
    switch (type & fw::MB_TYPEMASK) {
        case fw::MB_OKCANCEL:
            return "okcancel";
        case fw::MB_YESNOCANCEL:
            return "yesnocancel";
        case fw::MB_YESNO:
            return "yesno";
        default:
            return "ok";
    }
}

std::string AnswerName(int answer) {
    switch (answer) {
        case fw::IDOK:
            return "ok";
        case fw::IDCANCEL:
            return "cancel";
        case fw::IDABORT:
            return "abort";
        case fw::IDRETRY:
            return "retry";
        case fw::IDIGNORE:
            return "ignore";
        case fw::IDYES:
            return "yes";
        case fw::IDNO:
            return "no";
        default:
            return std::to_string(answer);
    }
}

std::string DescribeMessageBox(const fw::MessageBoxRequest& request) {
    std::string line = "msgbox caption=" + Quote(request.caption) +
                       " icon=" + IconName(request.type) + " buttons=" + ButtonsName(request.type) +
                       " text=" + Quote(request.text);
    if (!request.detail.empty()) {
        line += " detail=" + Quote(request.detail);
    }
    return line;
}

}  // namespace headless
