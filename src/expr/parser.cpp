// TParser: the variable and function tables, compiling on SetExpression and
// evaluating the compiled list in Value.
#include "parser.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "builtin_functions.h"
#include "compiled_expression.h"
#include "expression_compiler.h"

namespace expr {

namespace {

constexpr std::array<char, 8> kBuiltinNames = {'A', 'B', 'C', 'D', 'E', 'X', 'Y', 'T'};
constexpr size_t kSlotX = 5;
constexpr size_t kSlotY = 6;
constexpr size_t kSlotT = 7;

std::string UpperCase(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

struct TParser::Impl final : SymbolTable {
    std::array<Real, kBuiltinNames.size()> builtins{};
    std::map<std::string, Real*, std::less<>> variables;
    std::vector<std::unique_ptr<Real>> ownedCells;
    std::map<std::string, OperationRoutine, std::less<>> functions1;
    std::map<std::string, OperationRoutine, std::less<>> functions2;
    std::map<std::string, void*, std::less<>> contexts1;
    std::map<std::string, void*, std::less<>> contexts2;
    std::vector<OperationRoutine> pureRoutines;
    size_t longestName = 0;
    // Compiled texts, so that a program line evaluated on every loop pass is
    // compiled once. A new variable or function can change what a text means
    // ("PI" once a variable PI exists), so those empty the cache.
    std::unordered_map<std::string, std::shared_ptr<CompiledExpression>> cache;
    std::shared_ptr<CompiledExpression> compiled = std::make_shared<CompiledExpression>();
    static constexpr size_t kCacheLimit = 4096;

    std::shared_ptr<CompiledExpression> CompileCached(const std::string& text) {
        if (const auto it = cache.find(text); it != cache.end()) return it->second;
        auto result = std::make_shared<CompiledExpression>(CompileExpression(text, *this));
        if (cache.size() >= kCacheLimit) cache.clear();
        cache.emplace(text, result);
        return result;
    }

    bool IsVariable(std::string_view name) const override { return variables.contains(name); }
    bool IsFunction1(std::string_view name) const override { return functions1.contains(name); }
    bool IsFunction2(std::string_view name) const override { return functions2.contains(name); }
    size_t LongestName() const override { return longestName; }
    Real* VariableCell(std::string_view name) const override {
        const auto it = variables.find(name);
        return it == variables.end() ? nullptr : it->second;
    }
    OperationRoutine Function1(std::string_view name) const override {
        const auto it = functions1.find(name);
        return it == functions1.end() ? nullptr : it->second;
    }
    OperationRoutine Function2(std::string_view name) const override {
        const auto it = functions2.find(name);
        return it == functions2.end() ? nullptr : it->second;
    }
    void* FunctionContext(std::string_view name, bool twoArguments) const override {
        const auto& contexts = twoArguments ? contexts2 : contexts1;
        const auto it = contexts.find(name);
        return it == contexts.end() ? nullptr : it->second;
    }
    bool IsPure(OperationRoutine routine) const override {
        return std::find(pureRoutines.begin(), pureRoutines.end(), routine) != pureRoutines.end();
    }

    void Register(std::map<std::string, OperationRoutine, std::less<>>& table,
                  std::map<std::string, void*, std::less<>>& contexts, std::string_view name,
                  OperationRoutine routine, void* context) {
        if (!IsValidIdentifier(name)) throw EBadName(std::string(name));
        const auto [it, inserted] = table.emplace(UpperCase(name), routine);
        if (!inserted) throw EBadName(it->first);  // a name is registered once
        if (context != nullptr) contexts.emplace(it->first, context);
        longestName = std::max(longestName, name.size());
    }
};

bool IsValidIdentifier(std::string_view name) {
    const auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (name.empty() || !letter(name.front())) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

TParser::TParser() : impl_(std::make_unique<Impl>()) {
    for (const FunctionDefinition& function : BuiltinFunctions1()) {
        RegisterFunction1(function.name, function.routine);
        if (function.pure) impl_->pureRoutines.push_back(function.routine);
    }
    for (const FunctionDefinition& function : BuiltinFunctions2()) {
        RegisterFunction2(function.name, function.routine);
        if (function.pure) impl_->pureRoutines.push_back(function.routine);
    }
    for (const char name : kBuiltinNames) AssignVariable(std::string_view(&name, 1), 0);
}

TParser::~TParser() = default;

// FixedNumberformat chooses between two number readers that agree in this
// program, where the decimal separator is always "."; both read with
// ParseFixedNumber.
void TParser::SetExpression(const std::string& text) {
    static const auto empty = std::make_shared<CompiledExpression>();
    impl_->compiled = empty;
    expression_ = text;
    parserError_ = false;
    if (text.empty()) return;
    try {
        impl_->compiled = impl_->CompileCached(text);
    } catch (const EMathParserError& error) {
        parserError_ = true;
        if (!OnParserError) throw;
        OnParserError(*this, error);
    } catch (...) {
        parserError_ = true;
        throw;
    }
}

Real TParser::Value() {
    return impl_->compiled->Evaluate();
}

std::shared_ptr<CompiledExpression> TParser::Compile(const std::string& text) {
    static const auto empty = std::make_shared<CompiledExpression>();
    return text.empty() ? empty : impl_->CompileCached(text);
}

Real TParser::Evaluate(CompiledExpression& compiled) {
    return compiled.Evaluate();
}

Real* TParser::AssignVariable(std::string_view name, Real value) {
    std::string upper = UpperCase(name);
    if (const auto it = impl_->variables.find(upper); it != impl_->variables.end()) {
        *it->second = value;
        return it->second;
    }
    if (!IsValidIdentifier(upper)) throw EBadName(upper);
    Real* cell = nullptr;
    const auto builtin = std::find(kBuiltinNames.begin(), kBuiltinNames.end(), upper.front());
    if (upper.size() == 1 && builtin != kBuiltinNames.end()) {
        // A built-in letter comes back to its own slot (after ReleaseVariables).
        cell = &impl_->builtins[builtin - kBuiltinNames.begin()];
    } else {
        impl_->ownedCells.push_back(std::make_unique<Real>());
        cell = impl_->ownedCells.back().get();
    }
    *cell = value;
    impl_->longestName = std::max(impl_->longestName, upper.size());
    impl_->variables.emplace(std::move(upper), cell);
    impl_->cache.clear();
    ++generation_;
    return cell;
}

Real TParser::ReadVariable(std::string_view name) const {
    const Real* cell = impl_->VariableCell(UpperCase(name));
    return cell == nullptr ? 0 : *cell;
}

bool TParser::HasVariable(std::string_view name) const {
    return impl_->IsVariable(UpperCase(name));
}

void TParser::ReleaseVariables() {
    SetExpression("");  // the compiled list points at the cells freed below
    impl_->cache.clear();
    ++generation_;
    impl_->variables.clear();
    impl_->ownedCells.clear();
}

void TParser::RegisterFunction1(std::string_view name, OperationRoutine routine, void* context) {
    impl_->Register(impl_->functions1, impl_->contexts1, name, routine, context);
    impl_->cache.clear();
    ++generation_;
}

void TParser::RegisterFunction2(std::string_view name, OperationRoutine routine, void* context) {
    impl_->Register(impl_->functions2, impl_->contexts2, name, routine, context);
    impl_->cache.clear();
    ++generation_;
}

Real& TParser::X() {
    return impl_->builtins[kSlotX];
}
Real& TParser::Y() {
    return impl_->builtins[kSlotY];
}
Real& TParser::T() {
    return impl_->builtins[kSlotT];
}

}  // namespace expr
