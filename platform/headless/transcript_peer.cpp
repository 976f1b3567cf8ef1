#include "platform/headless/transcript_peer.h"

#include "platform/headless/headless_backend.h"

namespace headless {

TranscriptPeer::TranscriptPeer(fw::CWnd& window, Transcript& transcript,
                               std::unique_ptr<fw::WindowPeer> inner)
    : m_window(window), m_transcript(transcript), m_inner(std::move(inner)) {}

TranscriptPeer::~TranscriptPeer() {
    m_inner.reset();
    if (m_shown) {
        m_transcript.Add("close " + DescribeWindow(m_window));
    }
}

void TranscriptPeer::Changed(fw::CWnd& source, fw::Change what) {
    if (m_inner) {
        m_inner->Changed(source, what);
    }
    // A window counts as opened the first time it becomes visible, with the title it has then
    // (dialogs set their titles while initialising).
    if (&source == &m_window && what == fw::Change::Visible && !m_shown &&
        m_window.IsWindowVisible()) {
        m_shown = true;
        m_transcript.Add("open " + DescribeWindow(m_window));
    }
}

}  // namespace headless
