#include "files/line_buffer.h"

#include <algorithm>
#include <cstring>

CLineBuffer::CLineBuffer() : m_pBuffer(std::make_unique<char[]>(kBufferSize)) {}

bool CLineBuffer::TakeLine(std::string& line) {
    if (m_nPending == 0 && !(m_bEof && !m_strCarry.empty())) {
        return false;
    }
    const char* begin = m_pBuffer.get() + m_nStart;
    const char* end = begin + m_nPending;
    const auto* found = static_cast<const char*>(std::memchr(begin, '\n', m_nPending));
    const char* lf = found != nullptr ? found : end;
    if (lf != end) {
        const auto k = static_cast<std::uint32_t>(lf - begin);
        // Into the caller's string, whose room a loop over a file's lines reuses.
        line.assign(m_strCarry);
        line.append(begin, k);
        m_strCarry.clear();
        m_nPending -= k + 1;
        m_nStart += k + 1;
        if (m_nStart == kBufferSize) {
            m_nStart = 0;
        }
        return true;
    }
    if (m_bEof) {
        // The last line has no line feed: its last character goes, as the writer's CR would.
        std::string rest = m_strCarry + std::string(begin, m_nPending);
        if (!rest.empty()) {
            rest.pop_back();
        }
        line = rest;
        m_strCarry.clear();
        m_nPending = 0;
        m_nStart = 0;
        return true;
    }
    if (m_nPending == kBufferSize) {
        // A line longer than the buffer: what the buffer holds moves aside and reading goes on,
        // so the line is read back whole instead of stalling a full buffer.
        m_strCarry.append(begin, m_nPending);
        m_nPending = 0;
        m_nStart = 0;
    }
    return false;
}

std::span<char> CLineBuffer::Space() {
    if (m_bEof) {
        return {};
    }
    if (m_nPending > 0 && m_nStart > 0) {
        std::memmove(m_pBuffer.get(), m_pBuffer.get() + m_nStart, m_nPending);
    }
    m_nStart = 0;
    return {m_pBuffer.get() + m_nPending, kBufferSize - m_nPending};
}

void CLineBuffer::Filled(std::uint32_t count, std::uint32_t offered) {
    count = std::min(count, offered);
    if (count < offered) {
        m_bEof = 1;
    }
    m_nPending += count;
}
