// zorvat: with a headless mode argument it runs in batch mode, otherwise it opens the windows.
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_mode.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || app::IsBatchCommand(args)) {
        if (args.empty()) args.push_back("--help");
        return app::RunBatchCommand(args, std::cout, std::cerr);
    }
    std::cerr << "zorvat: onbekende opdracht " << args[0] << '\n';
    app::RunBatchCommand({"--help"}, std::cout, std::cerr);
    return app::kExitUsage;
}
