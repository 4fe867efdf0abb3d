// The windowed Host: real message boxes, input and file dialogs, the clipboard,
// and the Escape key as a stop request.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

#include "engine/host.h"

class QEventLoop;
class QWidget;

namespace app {

enum class YesNoCancel { Yes, No, Cancel };

class GuiHost : public engine::Host {
public:
    GuiHost() = default;
    // Dialogs are centred on this window.
    void SetParentWindow(QWidget* window) { parent_ = window; }
    // Called before pending events are processed during a run, so the picture so
    // far is shown.
    void SetBeforeEvents(std::function<void()> hook) { beforeEvents_ = std::move(hook); }

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
    void ProcessEvents() override;
    bool TakeStopRequest() override;
    void Sleep(int milliseconds) override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;

    // The dialogs of the windows themselves. `filter` in Qt's form, "Tekst (*.txt)".
    virtual std::optional<std::string> OpenFileName(const std::string& caption,
                                                    const std::string& filter,
                                                    const std::string& folder = ".");
    virtual std::optional<std::string> SaveFileName(const std::string& caption,
                                                    const std::string& suggestedName,
                                                    const std::string& filter);
    virtual std::optional<QColor> ChooseColour(const QColor& initial);
    virtual std::optional<QFont> ChooseFont(const QFont& initial);
    virtual YesNoCancel AskYesNoCancel(const std::string& caption, const std::string& question);
    // Opens a file or web address with what the desktop associates with it.
    virtual bool OpenUrl(const QUrl& url);

    // Escape: a running program stops at its next loop end, a pause ends at once.
    void RequestStop();
    // Keeps the window working until "Verder" is pressed or the run is stopped.
    void WaitForContinue(const std::string& caption) override;
    // "Verder" was pressed.
    void Continue();
    // Messages that came while the main window was not on the screen yet.
    void ShowDeferredMessages();
    // Dialogs open over the window that asks: the active one of ours, else the main one.
    QWidget* DialogParent() const;

private:
    struct DeferredMessage {
        std::string caption;
        std::string text;
        engine::MessageIcon icon;
    };

    QWidget* parent_ = nullptr;
    std::vector<DeferredMessage> deferred_;
    std::function<void()> beforeEvents_;
    bool stopRequest_ = false;
    QEventLoop* sleepLoop_ = nullptr;
    QEventLoop* continueLoop_ = nullptr;
    bool continued_ = false;
};

}  // namespace app
