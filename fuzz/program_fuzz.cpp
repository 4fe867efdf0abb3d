// Programs: the compile step and a run with a time budget, so an endless loop is not
// a finding; on a small surface, with the eepic and PDF outputs on now and then.
#include <QGuiApplication>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/compiler.h"
#include "engine/runner.h"
#include "engine/text_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every dialog with Cancel and asks the run to stop once its time is up.
class BudgetHost : public engine::Host {
public:
    void Start() { deadline_ = Clock::now() + std::chrono::milliseconds(200); }
    void ShowMessage(const std::string&, const std::string&, engine::MessageIcon) override {}
    bool AskYesNo(const std::string&, const std::string&, bool answer) override { return answer; }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void ProcessEvents() override {}
    bool TakeStopRequest() override { return Clock::now() > deadline_; }
    void Sleep(int) override {}
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    std::string ClipboardText() override { return clipboard_; }

private:
    Clock::time_point deadline_;
    std::string clipboard_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // A program may turn the loop checks off; then nothing could stop it in time.
    if (text.find("checking") != std::string::npos) return -1;
    static BudgetHost host;
    static plot::TPlotSurface surface(120, 90);
    static engine::Runner runner(host, surface);
    // Registers outlive a run, as in the program window. Cleared, no input pays for
    // the million-digit numbers of the one before it (printing one takes seconds
    // under the sanitizers), and a corpus run does not depend on its order.
    for (char letter = 'a'; letter <= 'z'; ++letter) runner.Register(letter) = bigint::TInteger();
    runner.Program() = engine::CompileProgram(engine::SplitTextLines(text));
    host.Start();
    if (size % 7 == 0) {
        runner.ExportPdf("/dev/null");
    } else if (size % 7 == 1) {
        runner.ExportEepic("/dev/null");
    } else {
        runner.Run();
    }
    return 0;
}
