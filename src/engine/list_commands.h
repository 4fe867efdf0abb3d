// The list commands (stats, linreg, regressie, polyreg, puntinveelhoek?) and the
// exchange of a list with the clipboard that the program window offers.
#pragma once

#include <string>

namespace engine {

class Runner;

void RegisterListCommands(Runner& runner);

// The program window's two clipboard actions for the lists; the last export
// description is kept while the program runs.
class ListClipboard {
public:
    explicit ListClipboard(Runner& runner) : runner_(runner) {}

    // Asks which elements ("lijstnaam;start;eind;kolom/rij") and puts them on the
    // clipboard with `decimalSeparator`, the person's own (the program itself
    // always writes ".").
    void Export(char decimalSeparator);
    // Asks for a list and fills it from the clipboard (at most 100 values), then
    // offers to put the count into the variable Lkmax. Nothing changes when the
    // clipboard holds something that is no number.
    void Import();

private:
    Runner& runner_;
    std::string lastExport_ = "L1;1;100;kolom";
};

}  // namespace engine
