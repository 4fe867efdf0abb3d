// The windowed program: zorvat without arguments, or with a program file.
#pragma once

#include <string>
#include <vector>

class QApplication;

namespace app {

// Runs the windows until the main window closes; returns the exit status.
// Arguments: [PROGRAM] [--screenshot FILE]; the second grabs the screen once the
// picture is drawn, saves it, prints the start-up time and ends (for tests).
int RunGui(int argc, char** argv, const std::vector<std::string>& args);

// Name, icon, and the Dutch of Qt's own dialogs and buttons ("Annuleren").
void SetUpApplication(QApplication& application);

// True when the arguments are for the windows rather than a headless mode.
bool IsGuiCommand(const std::vector<std::string>& args);

}  // namespace app
