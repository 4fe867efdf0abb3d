// The headless Host of batch mode.
#include "app/batch_host.h"

#include <csignal>
#include <ostream>

namespace app {

namespace {

// Set by the signal handler and read on every loop pass: a plain signal flag, so
// the read costs no locked instruction.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

}  // namespace

bool BatchHost::TakeStopRequest() {
    if (interrupted == 0) return false;
    interrupted = 0;
    return true;
}

// The first interrupt asks the program to stop; a second one ends zorvat as usual
// (a program that never reaches a loop end with checking on cannot notice the first).
void BatchHost::InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

std::string MessageLine(const std::string& caption, const std::string& text) {
    std::string line = caption + ": ";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            line += ' ';
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

void BatchHost::ShowMessage(const std::string& caption, const std::string& text,
                            engine::MessageIcon) {
    err_ << MessageLine(caption, text) << std::endl;
}

bool BatchHost::AskYesNo(const std::string&, const std::string&, bool defaultAnswer) {
    return defaultAnswer;
}

std::optional<std::string> BatchHost::InputText(const std::string&, const std::string&,
                                                const std::string&) {
    if (answers_.empty()) return std::nullopt;
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

void BatchHost::WaitForContinue(const std::string& caption) {
    err_ << MessageLine("stop", caption) << std::endl;
}

std::optional<std::string> BatchHost::ChooseOpenFile(const std::string& caption,
                                                     const std::string& suggestedName) {
    err_ << MessageLine(caption, "bestand niet gevonden: " + suggestedName) << std::endl;
    return std::nullopt;
}

std::optional<std::string> BatchHost::ChooseSaveFile(const std::string&,
                                                     const std::string& suggestedName) {
    return suggestedName;
}

}  // namespace app
