// zorvat: with a headless mode argument it runs in batch mode, otherwise it opens the windows.
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_mode.h"
#include "app/gui_app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (app::IsBatchCommand(args)) return app::RunBatchCommand(args, std::cout, std::cerr);
    if (app::IsGuiCommand(args)) return app::RunGui(argc, argv, args);
    std::cerr << "zorvat: onbekende opdracht " << args[0] << '\n';
    app::RunBatchCommand({"--help"}, std::cout, std::cerr);
    return app::kExitUsage;
}
