// A driver that plays a scenario: a plain-text script of operator actions and expectations (the
// format is described in docs/scenarios.md). The first unmet expectation throws ScriptFailure.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fw/clock.h"
#include "platform/fw/grid.h"
#include "platform/headless/driver.h"
#include "platform/headless/script_parse.h"
#include "platform/headless/transcript.h"

namespace headless {

class ScenarioDriver final : public Driver {
  public:
    // Commands the driver does not know itself (e.g. the application's configuration actions)
    // go to the extension with the waiting window (null once the program has ended); it returns
    // false when it does not know the command either.
    using Extension = std::function<bool(const ScriptLine&, fw::CWnd*)>;

    ScenarioDriver(std::vector<ScriptLine> lines, fw::ManualClock* clock);
    void SetExtension(Extension extension) { m_extension = std::move(extension); }
    // The folder whose files file-is and file-missing look at.
    void SetDataFolder(std::filesystem::path folder) { m_dataFolder = std::move(folder); }
    // The transcript that transcript-has and transcript-lacks look at.
    void SetTranscript(const Transcript* transcript) { m_transcript = transcript; }
    // Saves a picture of a message box as shown, for a msgbox line's snapshot=FILE.png (or, with
    // its detailed text shown, snapshot-details=FILE.png); false when it cannot. Without one (no
    // real windows) the field is passed over.
    using MessageBoxPicture = std::function<bool(const fw::MessageBoxRequest&,
                                                 const std::string& path, bool detailsShown)>;
    void SetMessageBoxPicture(MessageBoxPicture picture) { m_boxPicture = std::move(picture); }

    void Idle(fw::CWnd& modalWindow) override;
    int AnswerMessageBox(const fw::MessageBoxRequest& request) override;
    int AnswerPrintDialog(fw::PrintDialogRequest& request) override;

    // After the program ended: runs the remaining lines, which may only be expectations about
    // the end; throws when an action is left over, or the run already failed.
    void Finish(int exitCode);
    // Throws the run's first failure again, if there was one. A failure thrown where it could
    // not pass (a destructor that opened a window) is also raised again at the next window.
    void ThrowPendingFailure() const;
    bool AtEnd() const { return m_next >= m_lines.size(); }

  private:
    const ScriptLine* Peek() const;
    const ScriptLine& Take();
    [[noreturn]] void Fail(const ScriptLine* line, const std::string& why) const;
    // Whether a failure is unwinding the program; throws it again when it was swallowed.
    bool Unwinding() const;
    // Runs act, keeping the failure it throws.
    template <typename Act>
    auto Remembering(Act act);
    int Answer(const fw::MessageBoxRequest& request);
    int AnswerPrint(fw::PrintDialogRequest& request);
    // Runs one line at an idle point; true when the line was an action that lets the program go on.
    bool RunLine(const ScriptLine& line, fw::CWnd& window);
    void Expect(const ScriptLine& line, fw::CWnd& window);
    void Wait(const ScriptLine& line);
    void ExpectGrid(const ScriptLine& line, const fw::CGridCtrl& grid, const std::string& prop,
                    const std::vector<std::string>& args);
    void CheckDataFile(const ScriptLine& line);

    std::vector<ScriptLine> m_lines;
    std::size_t m_next = 0;
    fw::ManualClock* m_clock;
    Extension m_extension;
    MessageBoxPicture m_boxPicture;
    const Transcript* m_transcript = nullptr;
    std::filesystem::path m_dataFolder;
    std::optional<std::string> m_failure;  // the run's first failure
    const fw::CWnd* m_closedWhileUnwinding = nullptr;
};

}  // namespace headless
