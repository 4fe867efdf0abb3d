// A Host for tests: records every message and answers dialogs with defaults.
#pragma once

#include <string>
#include <vector>

#include "engine/host.h"

struct RecordedMessage {
    std::string caption;
    std::string text;
};

class RecordingHost : public engine::Host {
public:
    std::vector<RecordedMessage> messages;

    void ShowMessage(const std::string& caption, const std::string& text,
                     engine::MessageIcon) override {
        messages.push_back({caption, text});
    }
    bool AskYesNo(const std::string&, const std::string&, bool answer) override { return answer; }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string& text) override {
        return text;
    }
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void ProcessEvents() override {}
    void Sleep(int) override {}
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    std::string ClipboardText() override { return clipboard; }

    std::string clipboard;
};
