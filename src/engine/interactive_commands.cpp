// The commands of the program interface: sliders, text fields, the selection box,
// the input dialog, the "Verder" pause and the picture slots.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "engine/runner.h"
#include "expr/number_format.h"

namespace engine {

namespace {

constexpr int kPictureWait = 20;  // milliseconds after a picture is drawn or erased

std::string Shortest(Real value) {
    return expr::FormatGeneral(value, 15);
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

// schuifbalk(nummer;variabele;min;max)
void TakeSlider(Runner& runner) {
    const Real number = runner.NumericArgument();
    const std::string variable = runner.TextArgument();
    const Real minimum = runner.NumericArgument();
    const Real maximum = runner.NumericArgument();
    if (number != 1 && number != 2) return;
    ProgramInterface& ui = runner.Interface();
    Slider& slider = ui.sliders[number == 1 ? 0 : 1];
    slider.variable = variable;
    slider.minimum = minimum;
    slider.maximum = maximum;
    slider.visible = true;
    if (number == 1) ui.trackBarParameters = false;
    UpdateSliderValues(runner);
}

// interface(element;links)
void PlaceElement(Runner& runner) {
    const std::string element = runner.TextArgument();
    const Real left = runner.NumericArgument();
    ProgramInterface& ui = runner.Interface();
    if (!std::isfinite(left)) return;
    const int column = static_cast<int>(std::clamp(std::trunc(left), -100000.0L, 100000.0L));
    ui.slidersItemEnabled = false;
    if (element == "schuifbalk1" || element == "schuifbalk2") {
        ui.sliders[element.back() == '1' ? 0 : 1].left = column;
    } else if (element == "tekstveld1" || element == "tekstveld2" || element == "tekstveld3") {
        TextField& field = ui.fields[static_cast<size_t>(element.back() - '1')];
        field.left = column;
        field.caption.clear();
        field.enabled = true;
    } else if (element == "selectievak") {
        ui.selection.left = column;
    }
}

void ShowInField(Runner& runner, Real number, const std::string& text, const std::string& caption) {
    TextField* field = runner.Interface().UsableField(number);
    if (field == nullptr) return;
    field->text = text;
    field->caption = caption;
    field->visible = true;
}

// uitvoerveld(nummer;waarde;bijschrift)
void OutputField(Runner& runner) {
    const Real number = runner.NumericArgument();
    const Real value = runner.NumericArgument();
    const std::string caption = runner.TextArgument();
    ShowInField(runner, number, Shortest(value), caption);
}

// uitvoerveld$(nummer;tekst;bijschrift): one space empties the field.
void OutputTextField(Runner& runner) {
    const Real number = runner.NumericArgument();
    std::string text = runner.TextArgument();
    const std::string caption = runner.TextArgument();
    if (text == " ") text.clear();
    ShowInField(runner, number, text, caption);
}

// invoerveld$(nummer;$var;standaard;bijschrift): what the user typed wins over the default.
void InputField(Runner& runner) {
    const Real number = runner.NumericArgument();
    const std::string name = runner.NextArgument();
    const std::string& defaultLine = runner.NextArgument();
    const std::string caption = runner.TextArgument();
    TextField* field = runner.Interface().UsableField(number);
    if (field == nullptr) return;
    field->caption = caption;
    field->visible = true;
    if (field->text.empty()) {
        field->text = runner.Preprocess(defaultLine);
        runner.Strings().Set(name, defaultLine);
    } else {
        runner.Strings().Set(name, field->text);
    }
}

// selectievak($var;keuze1,keuze2,...): a new list only when the user's choice is not in it.
void ChooseInBox(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::vector<std::string> choices = SplitAtCommas(runner.TextArgument());
    SelectionBox& box = runner.Interface().selection;
    box.visible = true;
    if (std::find(choices.begin(), choices.end(), box.text) == choices.end()) {
        box.items = choices;
        // A box shows one of its items: a choice that is not among them is the first.
        box.text = choices.front();
    }
    runner.Strings().Set(name, box.text);
}

// invoerdialoog$($var;caption;prompt;standaard)
void InputDialog(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string caption = runner.TextArgument();
    const std::string prompt = runner.TextArgument();
    const std::string defaultText = runner.TextArgument();
    const auto answer = runner.GetHost().InputText(caption, prompt, defaultText);
    runner.Strings().Set(name, answer.value_or(""));
}

// stop(tekst): waits for "Verder"; an empty text keeps the button's caption.
void WaitForContinue(Runner& runner) {
    const std::string caption = runner.TextArgument();
    ProgramInterface& ui = runner.Interface();
    if (!caption.empty()) ui.continueCaption = caption;
    ui.continueVisible = true;
    runner.SetPaused(true);
    runner.GetHost().WaitForContinue(ui.continueCaption);
    runner.SetPaused(false);
    ui.continueVisible = false;
    runner.ProcessEvents();
    runner.MarkLoopYieldDone();
}

// A picture file as given, else beside the program.
std::string PicturePath(Runner& runner, const std::string& name) {
    std::error_code error;
    if (std::filesystem::exists(name, error) || runner.ProgramFolder().empty()) return name;
    const auto beside = std::filesystem::path(runner.ProgramFolder()) / name;
    return std::filesystem::exists(beside, error) ? beside.string() : name;
}

int SlotNumber(Real number) {
    return number >= 1 && number < 4 ? static_cast<int>(number) : 0;
}

// laadplaatje(nummer;bestandsnaam)
void LoadPicture(Runner& runner) {
    const int slot = SlotNumber(runner.NumericArgument());
    const std::string name = runner.TextArgument();
    runner.Pictures().Load(slot, PicturePath(runner, name));
}

// toonplaatje(nummer;x;y)
void ShowPicture(Runner& runner) {
    const int slot = SlotNumber(runner.NumericArgument());
    const Real x = runner.NumericArgument();
    const Real y = runner.NumericArgument();
    runner.Pictures().Show(runner.Surface(), slot, x, y);
    runner.GetHost().Sleep(kPictureWait);
}

// wisplaatje(nummer;x;y)
void ErasePicture(Runner& runner) {
    const int slot = SlotNumber(runner.NumericArgument());
    const Real x = runner.NumericArgument();
    const Real y = runner.NumericArgument();
    runner.Pictures().Erase(runner.Surface(), slot, x, y);
    runner.GetHost().Sleep(kPictureWait);
}

// toonplaatje2(nummer;x;y;delay): the picture for a moment, then the screen as it was.
void FlashPicture(Runner& runner) {
    const int slot = SlotNumber(runner.NumericArgument());
    const Real x = runner.NumericArgument();
    const Real y = runner.NumericArgument();
    const Real delay = runner.NumericArgument();
    if (runner.Paused()) return;
    plot::Snapshot before;
    before.Take(runner.Surface());
    runner.Pictures().Show(runner.Surface(), slot, x, y);
    runner.ProcessEvents();
    const Real milliseconds = std::isfinite(delay) ? std::clamp(delay, 0.0L, 2.0e9L) : 0;
    runner.GetHost().Sleep(static_cast<int>(milliseconds));
    runner.ProcessEvents();
    before.ShowOn(runner.Surface());
    runner.MarkLoopYieldDone();
}

}  // namespace

void UpdateSliderValues(Runner& runner) {
    ProgramInterface& ui = runner.Interface();
    for (size_t i = 0; i < ui.sliders.size(); ++i) {
        Slider& slider = ui.sliders[i];
        if (slider.variable.empty()) {
            const char* name = i == 0 ? "a" : "b";
            const Real value = slider.position / 10.0L;
            slider.label = std::string(name) + "=" + Shortest(value);
            runner.Parser(4).AssignVariable(name, value);
        } else {
            const Real value = slider.Value();
            runner.SetNumericAll(slider.variable, value);
            slider.label = slider.variable + "=" + Shortest(value);
        }
    }
}

void RegisterInteractiveCommands(Runner& runner) {
    runner.RegisterCommand("schuifbalk", TakeSlider);
    runner.RegisterCommand("interface", PlaceElement);
    runner.RegisterCommand("uitvoerveld", OutputField);
    runner.RegisterCommand("uitvoerveld$", OutputTextField);
    runner.RegisterCommand("invoerveld$", InputField);
    runner.RegisterCommand("selectievak", ChooseInBox);
    runner.RegisterCommand("invoerdialoog$", InputDialog);
    runner.RegisterCommand("stop", WaitForContinue);
    runner.RegisterCommand("laadplaatje", LoadPicture);
    runner.RegisterCommand("toonplaatje", ShowPicture);
    runner.RegisterCommand("wisplaatje", ErasePicture);
    runner.RegisterCommand("toonplaatje2", FlashPicture);
}

}  // namespace engine
