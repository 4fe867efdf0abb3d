// A GuiHost whose dialogs answer from scripts, so tests can drive the windows
// without anyone at the keyboard; it records every message and question.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/gui_host.h"

class ScriptedHost : public app::GuiHost {
public:
    struct Message {
        std::string caption;
        std::string text;
    };

    void ShowMessage(const std::string& caption, const std::string& text,
                     engine::MessageIcon) override {
        messages.push_back({caption, text});
    }
    bool AskYesNo(const std::string&, const std::string&, bool defaultAnswer) override {
        return defaultAnswer;
    }
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string&) override {
        inputs.push_back(caption + "|" + prompt);
        return Take(inputAnswers);
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return Take(fileAnswers);
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return Take(fileAnswers);
    }
    std::optional<QColor> ChooseColour(const QColor&) override {
        ++colourDialogs;
        return Take(colourAnswers);
    }
    std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }
    app::YesNoCancel AskYesNoCancel(const std::string&, const std::string& question) override {
        questions.push_back(question);
        if (choiceAnswers.empty()) return app::YesNoCancel::Cancel;
        const auto answer = choiceAnswers.front();
        choiceAnswers.pop_front();
        return answer;
    }
    bool OpenUrl(const QUrl& url) override {
        openedUrls.push_back(url.toString().toStdString());
        return openUrlResult;
    }
    // Pauses do not wait in tests; the hook lets a test act in the middle of a run.
    void Sleep(int) override {
        ++sleeps;
        if (duringPause) duringPause();
        ProcessEvents();
    }

    std::vector<Message> messages;
    std::vector<std::string> inputs;
    std::vector<std::string> questions;
    std::vector<std::string> openedUrls;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<QColor>> colourAnswers;
    std::deque<app::YesNoCancel> choiceAnswers;
    std::function<void()> duringPause;
    bool openUrlResult = true;  // false: nothing on this desktop opens addresses
    int colourDialogs = 0;
    int sleeps = 0;

private:
    template <typename T>
    static std::optional<T> Take(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
