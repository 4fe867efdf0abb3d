// stats, linreg, regressie, polyreg and puntinveelhoek? on the lists L1 .. L6, and
// the clipboard export and import of a list.
#include "engine/list_commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/runner.h"
#include "expr/list_text.h"
#include "expr/number_format.h"
#include "expr/regression.h"
#include "expr/statistics.h"

namespace engine {

namespace {

using expr::ListStore;

constexpr const char* kExportCaption = "Lijst Exporteren naar klembord";
constexpr const char* kExportPrompt = "Syntax: lijstnaam;start;eind;kolom/rij";

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The list number of `name`; shows "Ongeldige lijst: ..." when there is none.
std::optional<int> ListNamed(Runner& runner, const std::string& name) {
    const auto number = ListStore::ListNumber(Trim(name));
    if (!number) runner.ShowMessage(kAppCaption, "Ongeldige lijst: " + name, MessageIcon::None);
    return number;
}

// The list names of "L1,L2"; `second` stays empty when there is only one.
bool ListPair(Runner& runner, const std::string& text, std::optional<int>& first,
              std::optional<int>& second) {
    const size_t comma = text.find(',');
    first = ListNamed(runner, text.substr(0, comma));
    if (!first) return false;
    if (comma == std::string::npos) return true;
    second = ListNamed(runner, text.substr(comma + 1));
    return second.has_value();
}

struct ElementRange {
    long long start = 0;
    long long end = 0;
};

// start and eind of a list command; the run ends with a message when they do not
// lie within the lists.
std::optional<ElementRange> RangeArguments(Runner& runner, const char* word) {
    const Real start = std::trunc(runner.NumericArgument());
    const Real end = std::trunc(runner.NumericArgument());
    if (start >= 1 && end <= ListStore::kSize && start <= end) {
        return ElementRange{static_cast<long long>(start), static_cast<long long>(end)};
    }
    runner.EndRunWithMessage(std::string(word) +
                             ": start en eind moeten tussen 1 en 100 liggen en start mag niet "
                             "groter zijn dan eind (start = " +
                             expr::FormatGeneral(start, 15) +
                             ", eind = " + expr::FormatGeneral(end, 15) + ").");
    return std::nullopt;
}

std::vector<Real> Elements(Runner& runner, int list, const ElementRange& range) {
    std::vector<Real> values;
    for (long long i = range.start; i <= range.end; ++i)
        values.push_back(runner.Lists().Get(list, i));
    return values;
}

// stats(lijst1[,lijst2];start;eind;var gemiddelde;var sd)
void Stats(Runner& runner) {
    const std::string lists = runner.TextArgument();
    const auto range = RangeArguments(runner, "stats");
    const std::string meanName = runner.TextArgument(), deviationName = runner.TextArgument();
    std::optional<int> values, weights;
    if (!range || !ListPair(runner, lists, values, weights)) return;
    try {
        const auto result =
            expr::Statistics(Elements(runner, *values, *range),
                             weights ? Elements(runner, *weights, *range) : std::vector<Real>{});
        runner.SetNumericAll(meanName, result.mean);
        runner.SetNumericAll(deviationName, result.deviation);
    } catch (const expr::EAnalysisError& error) {
        runner.EndRunWithMessage(error.what());
    }
}

void Fit(Runner& runner, const char* word, const std::string& lists, const ElementRange& range,
         const std::string& equationName, const std::string& correlationName,
         expr::RegressionForm form) {
    std::optional<int> xs, ys;
    if (!ListPair(runner, lists, xs, ys)) return;
    if (!ys) {
        runner.EndRunWithMessage(std::string(word) + ": geef twee lijsten, zoals L1,L2.");
        return;
    }
    try {
        const auto fit = expr::Regression(form, Elements(runner, *xs, range),
                                          Elements(runner, *ys, range), range.start);
        runner.Strings().Set(equationName, fit.equation);
        runner.SetNumericAll(correlationName, fit.correlation);
    } catch (const expr::EAnalysisError& error) {
        runner.EndRunWithMessage(error.what());
    }
}

// linreg(lijst1,lijst2;start;eind;$vergelijking;var corrcoeff)
void LinearRegression(Runner& runner) {
    const std::string lists = runner.TextArgument();
    const auto range = RangeArguments(runner, "linreg");
    const std::string equation = runner.NextArgument();
    const std::string correlation = runner.TextArgument();
    if (range)
        Fit(runner, "linreg", lists, *range, equation, correlation, expr::RegressionForm::Linear);
}

// regressie(lijst1,lijst2;start;eind;$vergelijking;var corrcoeff;linreg|expreg|pwrreg|lnreg)
void Regression(Runner& runner) {
    const std::string lists = runner.TextArgument();
    const auto range = RangeArguments(runner, "regressie");
    const std::string equation = runner.NextArgument();
    const std::string correlation = runner.TextArgument();
    const std::string word = runner.TextArgument();
    if (!range) return;
    const auto form = expr::RegressionFormNamed(word);
    if (!form) {
        runner.EndRunWithMessage("Onbekende regressie: " + word +
                                 ". Kies linreg, expreg, pwrreg of lnreg.");
        return;
    }
    Fit(runner, "regressie", lists, *range, equation, correlation, *form);
}

// polyreg(lijst1,lijst2;start;eind;graad;doellijst)
void PolynomialRegression(Runner& runner) {
    const std::string lists = runner.TextArgument();
    const auto range = RangeArguments(runner, "polyreg");
    const Real requested = std::trunc(runner.NumericArgument());
    const std::string target = runner.TextArgument();
    std::optional<int> xs, ys;
    if (!range || !ListPair(runner, lists, xs, ys)) return;
    if (!ys) {
        runner.EndRunWithMessage("polyreg: geef twee lijsten, zoals L1,L2.");
        return;
    }
    if (target.size() < 2 || target[1] < '1' || target[1] > '0' + ListStore::kLists) {
        runner.ShowMessage(kAppCaption, "Ongeldige doellijst", MessageIcon::None);
        return;
    }
    const Real highest = static_cast<Real>(range->end - range->start);
    const int degree =
        static_cast<int>(std::isnan(requested) ? -1 : std::clamp(requested, Real{-1}, highest));
    try {
        const auto coefficients = expr::PolynomialFit(Elements(runner, *xs, *range),
                                                      Elements(runner, *ys, *range), degree);
        const int list = target[1] - '0';
        for (int i = 1; i <= ListStore::kSize; ++i) {
            const size_t k = static_cast<size_t>(i - 1);
            // The coefficients reach the list as double values.
            runner.Lists().Set(
                list, i, k < coefficients.size() ? static_cast<double>(coefficients[k]) : 0.0);
        }
    } catch (const expr::EAnalysisError& error) {
        runner.EndRunWithMessage(error.what());
    }
}

// puntinveelhoek?(p1;p2;lijst1;lijst2;aantal_punten;var resultaat)
void PointInPolygon(Runner& runner) {
    const Real px = runner.NumericArgument(), py = runner.NumericArgument();
    const std::string xName = runner.TextArgument(), yName = runner.TextArgument();
    const Real count = std::trunc(runner.NumericArgument());
    const std::string result = runner.TextArgument();
    const auto xs = ListNamed(runner, xName);
    if (!xs) return;
    const auto ys = ListNamed(runner, yName);
    if (!ys) return;
    if (!(count >= 0 && count <= ListStore::kSize)) {
        runner.EndRunWithMessage("puntinveelhoek?: aantal_punten moet tussen 0 en 100 liggen (nu " +
                                 expr::FormatGeneral(count, 15) + ").");
        return;
    }
    std::vector<Real> vx, vy;
    if (count >= 1) {
        const ElementRange range{1, static_cast<long long>(count)};
        vx = Elements(runner, *xs, range);
        vy = Elements(runner, *ys, range);
    }
    runner.SetNumericAll(result, expr::PointInPolygon(px, py, vx, vy) ? 1 : 0);
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, end == std::string::npos ? end : end - start)));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

void RegisterListCommands(Runner& runner) {
    runner.RegisterCommand("stats", Stats);
    runner.RegisterCommand("linreg", LinearRegression);
    runner.RegisterCommand("regressie", Regression);
    runner.RegisterCommand("polyreg", PolynomialRegression);
    runner.RegisterCommand("puntinveelhoek?", PointInPolygon);
}

void ListClipboard::Export(char decimalSeparator) {
    Host& host = runner_.GetHost();
    const auto answer = host.InputText(kExportCaption, kExportPrompt, lastExport_);
    if (!answer) return;
    lastExport_ = *answer;
    std::string upper = *answer;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto parts = SplitAt(upper, ';');
    long double start = 0, end = 0;
    if (parts.size() < 3 || !expr::ParseFixedNumber(parts[1], start) ||
        !expr::ParseFixedNumber(parts[2], end)) {
        host.ShowMessage(kAppCaption, kExportPrompt, MessageIcon::Warning);
        return;
    }
    const auto list = ListStore::ListNumber(parts[0]);
    if (!list) {
        host.ShowMessage(kAppCaption, "Ongeldige lijst: " + parts[0], MessageIcon::Warning);
        return;
    }
    start = std::trunc(start);
    end = std::trunc(end);
    if (!(start >= 1 && end <= ListStore::kSize && start <= end)) {
        host.ShowMessage(kAppCaption,
                         "Start en eind moeten tussen 1 en 100 liggen en start mag niet groter "
                         "zijn dan eind.",
                         MessageIcon::Warning);
        return;
    }
    const bool row = parts.size() > 3 && parts[3] == "RIJ";
    std::string text;
    for (long long i = static_cast<long long>(start); i <= static_cast<long long>(end); ++i) {
        std::string value = expr::FormatGeneral(runner_.Lists().Get(*list, i), 15);
        std::replace(value.begin(), value.end(), '.', decimalSeparator);
        if (!text.empty()) text += row ? "\t" : "\n";
        text += value;
    }
    host.SetClipboardText(text);
}

void ListClipboard::Import() {
    Host& host = runner_.GetHost();
    const auto answer = host.InputText(
        "Lijst Kiezen", "Naar welke lijst wil je van het klembord importeren?", "L1");
    if (!answer) return;
    const std::string name = Trim(*answer);
    const auto list = ListStore::ListNumber(name);
    if (!list) {
        host.ShowMessage(kAppCaption, "Ongeldige lijst: " + name, MessageIcon::Warning);
        return;
    }
    std::vector<Real> values;
    bool more = false;
    try {
        values = expr::ReadNumberSequence(host.ClipboardText(), ListStore::kSize, more);
    } catch (const expr::EAnalysisError& error) {
        host.ShowMessage(kAppCaption, std::string(error.what()) + " Er is niets ingelezen.",
                         MessageIcon::Warning);
        return;
    }
    if (values.empty()) {
        host.ShowMessage(kAppCaption, "Het klembord bevat geen getallen; er is niets ingelezen.",
                         MessageIcon::Warning);
        return;
    }
    for (size_t j = 0; j < values.size(); ++j) {
        runner_.Lists().Set(*list, static_cast<long long>(j + 1), values[j]);
    }
    const size_t count = values.size();
    const std::string counted =
        count == ListStore::kSize ? std::string("100 (of meer)") : std::to_string(count);
    const std::string variable = name + "max";
    if (host.AskYesNo("Succes",
                      "De ingelezen lijst bevatte " + counted +
                          " elementen. \nZal ik dit aantal in "
                          "de variabele " +
                          variable + " plaatsen?",
                      true)) {
        runner_.SetNumericAll(variable, static_cast<Real>(count));
    }
}

}  // namespace engine
