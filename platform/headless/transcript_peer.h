// Records a window's opening and closing in a transcript, and passes every change on to the peer
// of another back end when there is one (the scenario player on Qt).
#pragma once

#include <memory>

#include "platform/fw/backend.h"
#include "platform/headless/transcript.h"

namespace headless {

class TranscriptPeer final : public fw::WindowPeer {
  public:
    TranscriptPeer(fw::CWnd& window, Transcript& transcript, std::unique_ptr<fw::WindowPeer> inner);
    ~TranscriptPeer() override;

    void Changed(fw::CWnd& source, fw::Change what) override;
    // The other back end's peer, or null.
    fw::WindowPeer* Inner() const { return m_inner.get(); }

  private:
    fw::CWnd& m_window;
    Transcript& m_transcript;
    std::unique_ptr<fw::WindowPeer> m_inner;
    bool m_shown = false;
};

}  // namespace headless
