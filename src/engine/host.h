// engine::Host: everything the engine needs from a person. The GUI answers with
// dialogs, batch mode with defaults; the engine itself never shows a window.
#pragma once

#include <optional>
#include <string>

namespace engine {

enum class MessageIcon { None, Information, Warning, Error };

class Host {
public:
    virtual ~Host() = default;

    virtual void ShowMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) = 0;
    virtual bool AskYesNo(const std::string& caption, const std::string& question,
                          bool defaultAnswer) = 0;
    // Empty optional when cancelled.
    virtual std::optional<std::string> InputText(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& defaultText) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const std::string& caption,
                                                      const std::string& suggestedName) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const std::string& caption,
                                                      const std::string& suggestedName) = 0;
    // Lets the user interact during long work (Escape, buttons, repaint).
    virtual void ProcessEvents() = 0;
    // True once after the user asked to stop a running program (Escape; in batch
    // mode an interrupt signal).
    virtual bool TakeStopRequest() { return false; }
    // Both of the above in one call, which loops make on every pass.
    virtual bool ProcessEventsAndTakeStopRequest() {
        ProcessEvents();
        return TakeStopRequest();
    }
    // Waits during a program's pause; batch mode returns at once.
    virtual void Sleep(int milliseconds) = 0;
    // `stop`: the "Verder" button with `caption` is on the screen; returns once it is
    // pressed or the user asks the run to stop. Without a person it returns at once.
    virtual void WaitForContinue(const std::string& caption) { (void)caption; }
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string ClipboardText() = 0;
};

// Caption of plain message boxes.
inline constexpr const char* kAppCaption = "Zorvat";

}  // namespace engine
