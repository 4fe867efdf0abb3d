// The headless Host: messages go to stderr, dialogs answer with their defaults.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/host.h"

namespace app {

class BatchHost : public engine::Host {
public:
    explicit BatchHost(std::ostream& err) : err_(err) {}

    void ShowMessage(const std::string& caption, const std::string& text,
                     engine::MessageIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& question,
                  bool defaultAnswer) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& defaultText) override;
    std::optional<std::string> ChooseOpenFile(const std::string& caption,
                                              const std::string& suggestedName) override;
    std::optional<std::string> ChooseSaveFile(const std::string& caption,
                                              const std::string& suggestedName) override;
    void ProcessEvents() override {}
    // An interrupt signal (Ctrl+C) asks a running program to stop at its next loop end.
    bool TakeStopRequest() override;
    bool ProcessEventsAndTakeStopRequest() override { return TakeStopRequest(); }
    static void InstallInterruptHandler();
    void Sleep(int) override {}
    // `stop` goes on at once and says so on stderr.
    void WaitForContinue(const std::string& caption) override;
    // The answers of the input dialogs, in order; none left is Cancel.
    void SetAnswers(std::vector<std::string> answers) {
        answers_.assign(answers.begin(), answers.end());
    }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    std::string ClipboardText() override { return clipboard_; }

private:
    std::ostream& err_;
    std::string clipboard_;
    std::deque<std::string> answers_;
};

// "CAPTION: TEXT" with every line break (CR, LF or CRLF) as one space.
std::string MessageLine(const std::string& caption, const std::string& text);

}  // namespace app
