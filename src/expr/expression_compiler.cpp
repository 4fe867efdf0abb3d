// Compiling expression text: whole-text checks, building the term tree from the
// classification, folding constant terms, and laying out the instructions.
#include "expression_compiler.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace expr {

namespace {

constexpr size_t kMaxTextLength = 1u << 30;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

struct Node {
    OperationKind kind = OperationKind::Constant;
    int32_t depth = 0;
    int32_t first = -1;
    int32_t second = -1;  // also set for Square, Cube, FourthPower, which do not read it
    Real value = 0;
    Real* variable = nullptr;
    OperationRoutine routine = nullptr;
    void* context = nullptr;
    InstructionCode inlineCode = InstructionCode::Call;  // for built-ins done in place
};

// Built-in one-argument functions that the evaluator does in place.
InstructionCode InlineCode(std::string_view name) {
    static constexpr std::pair<std::string_view, InstructionCode> kInline[] = {
        {"SQRT", InstructionCode::Sqrt},      {"ABS", InstructionCode::Abs},
        {"SIN", InstructionCode::Sin},        {"COS", InstructionCode::Cos},
        {"EXP", InstructionCode::Exp},        {"LN", InstructionCode::Ln},
        {"TAN", InstructionCode::Tan},        {"SINH", InstructionCode::Sinh},
        {"COSH", InstructionCode::Cosh},      {"LOG10", InstructionCode::Log10},
        {"LOG2", InstructionCode::Log2},      {"SQR", InstructionCode::Square},
        {"HEAV", InstructionCode::Heaviside}, {"SIGN", InstructionCode::Sign},
        {"ZERO", InstructionCode::Zero},
    };
    for (const auto& [inlineName, code] : kInline) {
        if (inlineName == name) return code;
    }
    return InstructionCode::Call;
}

bool UsesSecondOperand(OperationKind kind) {
    switch (kind) {
        case OperationKind::Add:
        case OperationKind::Subtract:
        case OperationKind::Multiply:
        case OperationKind::Divide:
        case OperationKind::IntegerRemainder:
        case OperationKind::IntegerQuotient:
        case OperationKind::IntegerPower:
        case OperationKind::RealPower:
        case OperationKind::Function2:
            return true;
        default:
            return false;
    }
}

OperationKind BinaryKind(TermForm form) {
    switch (form) {
        case TermForm::Add:
            return OperationKind::Add;
        case TermForm::Subtract:
            return OperationKind::Subtract;
        case TermForm::Multiply:
            return OperationKind::Multiply;
        case TermForm::IntegerQuotient:
            return OperationKind::IntegerQuotient;
        case TermForm::IntegerRemainder:
            return OperationKind::IntegerRemainder;
        case TermForm::Divide:
            return OperationKind::Divide;
        default:
            throw EParserInternalError(kMessageInternalError);
    }
}

class TermBuilder {
public:
    TermBuilder(std::string_view text, ExpressionClassifier& classifier, const SymbolTable& symbols)
        : text_(text), classifier_(classifier), symbols_(symbols) {}

    // Builds text[begin, end) at `depth`; returns the node index.
    int32_t Build(int32_t begin, int32_t end, int32_t depth);
    CompiledExpression Lay(int32_t root);

private:
    void CountOperation(int32_t depth);
    OperationKind PowerKind(int32_t exponentBegin, int32_t exponentEnd);
    void Fold(int32_t index);
    void PullNegation(int32_t index);
    void Emit(int32_t index);
    Real* NewCell(Real value = 0);
    Real* LeafCell(int32_t index);
    // The value of a constant leaf as a double, where a double holds it exactly.
    std::optional<double> Narrow(int32_t index) const;
    std::string_view Name(int32_t begin, int32_t end) const {
        return text_.substr(begin, end - begin);
    }

    std::string_view text_;
    ExpressionClassifier& classifier_;
    const SymbolTable& symbols_;
    std::vector<Node> nodes_;
    std::array<int32_t, kMaxNesting + 1> operationsPerLevel_{};
    std::vector<Instruction> code_;
    std::vector<ParserOperation> calls_;
    std::unique_ptr<Real[]> cells_;
    size_t usedCells_ = 0;
};

void TermBuilder::CountOperation(int32_t depth) {
    if (++operationsPerLevel_[depth] > kMaxOperationsPerLevel) {
        throw EExpressionTooComplex(kMessageTooComplex);
    }
}

int32_t TermBuilder::Build(int32_t begin, int32_t end, int32_t depth) {
    const auto [b, e] = classifier_.StripBrackets(begin, end);
    if (depth > kMaxNesting) throw ETooManyNestings(kMessageTooManyNestings);
    const ExpressionClassifier::Term term = classifier_.Classify(b, e);
    const auto index = static_cast<int32_t>(nodes_.size());
    nodes_.push_back(Node{});
    nodes_[index].depth = depth;
    // Children are built after the parent is counted, so the limits are met in
    // the order of the text; nodes_ may grow meanwhile, hence the indexing.
    int32_t first = -1;
    int32_t second = -1;
    OperationKind kind;
    OperationRoutine routine = ArithmeticRoutine;
    switch (term.form) {
        case TermForm::Variable:
            nodes_[index].kind = OperationKind::Variable;
            nodes_[index].variable = symbols_.VariableCell(Name(b, e));
            if (nodes_[index].variable == nullptr)
                throw EParserInternalError(kMessageInternalError);
            return index;
        case TermForm::Number:
            nodes_[index].kind = OperationKind::Constant;
            nodes_[index].value = classifier_.NumberValue(b, e);
            return index;
        case TermForm::Negate:
            CountOperation(depth);
            kind = OperationKind::Negate;
            first = Build(b + 1, e, depth + 1);
            break;
        case TermForm::Add:
        case TermForm::Subtract:
        case TermForm::Multiply:
        case TermForm::IntegerQuotient:
        case TermForm::IntegerRemainder:
        case TermForm::Divide: {
            CountOperation(depth);
            kind = BinaryKind(term.form);
            first = Build(b, term.split, depth + 1);
            second =
                Build(term.split + ExpressionClassifier::OperatorLength(term.form), e, depth + 1);
            break;
        }
        case TermForm::Power:
            CountOperation(depth);
            kind = PowerKind(term.split + 1, e);
            first = Build(b, term.split, depth + 1);
            second = Build(term.split + 1, e, depth + 1);
            break;
        case TermForm::Function1:
            CountOperation(depth);
            kind = OperationKind::Function1;
            routine = symbols_.Function1(Name(b, term.split));
            nodes_[index].context = symbols_.FunctionContext(Name(b, term.split), false);
            // Built-in names cannot be registered again, so the name identifies the routine.
            nodes_[index].inlineCode = InlineCode(Name(b, term.split));
            first = Build(term.split + 1, e - 1, depth + 1);
            break;
        case TermForm::Function2: {
            CountOperation(depth);
            kind = OperationKind::Function2;
            const int32_t open = classifier_.MatchingBracket(e - 1);
            routine = symbols_.Function2(Name(b, open));
            nodes_[index].context = symbols_.FunctionContext(Name(b, open), true);
            first = Build(open + 1, term.split, depth + 1);
            second = Build(term.split + 1, e - 1, depth + 1);
            break;
        }
        default:
            throw EParserInternalError(kMessageInternalError);
    }
    if (routine == nullptr) throw EParserInternalError(kMessageInternalError);
    Node& node = nodes_[index];
    node.kind = kind;
    node.routine = routine;
    node.first = first;
    node.second = second;
    PullNegation(index);
    Fold(index);
    return index;
}

// Negation commutes with products and quotients to the bit: (-a) b = -(a b).
// Pulled out of them it meets a constant and goes into it, or cancels, and
// leaves products of cells to fuse: -x*x/2 becomes x*x times -0.5.
void TermBuilder::PullNegation(int32_t index) {
    Node& node = nodes_[index];
    const auto isConstant = [this](int32_t i) { return nodes_[i].kind == OperationKind::Constant; };
    if (node.kind == OperationKind::Multiply || node.kind == OperationKind::Divide) {
        for (int32_t Node::*side : {&Node::first, &Node::second}) {
            const int32_t negation = node.*side;
            if (nodes_[negation].kind != OperationKind::Negate) continue;
            // The negation's node takes the operation, this one the negation.
            Node operation = node;
            operation.*side = nodes_[negation].first;
            Node outer = nodes_[negation];
            outer.first = negation;
            nodes_[negation] = operation;
            node = outer;
            PullNegation(negation);  // the other side may be negated as well
            PullNegation(index);
            return;
        }
        return;
    }
    if (node.kind != OperationKind::Negate) return;
    Node& inner = nodes_[node.first];
    if (inner.kind == OperationKind::Negate) {
        node = nodes_[inner.first];
        return;
    }
    if (inner.kind != OperationKind::Multiply && inner.kind != OperationKind::Divide) return;
    for (const int32_t operand : {inner.second, inner.first}) {
        if (isConstant(operand)) {
            nodes_[operand].value = -nodes_[operand].value;
            node = inner;
            return;
        }
    }
}

// "^" with a whole literal exponent becomes a multiplication or an integer power.
OperationKind TermBuilder::PowerKind(int32_t exponentBegin, int32_t exponentEnd) {
    const auto [b, e] = classifier_.StripBrackets(exponentBegin, exponentEnd);
    if (classifier_.Classify(b, e).form != TermForm::Number) return OperationKind::RealPower;
    const Real exponent = classifier_.NumberValue(b, e);
    if (exponent != std::trunc(exponent)) return OperationKind::RealPower;
    if (exponent == 2) return OperationKind::Square;
    if (exponent == 3) return OperationKind::Cube;
    if (exponent == 4) return OperationKind::FourthPower;
    // Beyond 32 bits the general power gives the same value without a huge loop count.
    constexpr Real kInt32Limit = 2147483648.0L;
    if (exponent >= -kInt32Limit && exponent < kInt32Limit) return OperationKind::IntegerPower;
    return OperationKind::RealPower;
}

// A term whose operands are all constants is computed now, unless that raises
// an arithmetic fault (which must then happen in Value) or calls an impure function.
void TermBuilder::Fold(int32_t index) {
    Node& node = nodes_[index];
    if (node.first < 0 || nodes_[node.first].kind != OperationKind::Constant) return;
    const bool binary = UsesSecondOperand(node.kind);
    if (binary && nodes_[node.second].kind != OperationKind::Constant) return;
    if ((node.kind == OperationKind::Function1 || node.kind == OperationKind::Function2) &&
        !symbols_.IsPure(node.routine)) {
        return;
    }
    Real first = nodes_[node.first].value;
    Real second = binary ? nodes_[node.second].value : 0;
    Real result = 0;
    ParserOperation op{&first, &second, &result, node.routine, node.kind, node.context};

    fexcept_t saved;
    fegetexceptflag(&saved, FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
    bool clean = true;
    try {
        ExecuteOperation(op);
    } catch (...) {
        clean = false;
    }
    clean = clean && !FloatingPointFaultRaised();
    fesetexceptflag(&saved, FE_ALL_EXCEPT);
    if (!clean) return;
    node.kind = OperationKind::Constant;
    node.value = result;
    node.first = node.second = -1;
}

CompiledExpression TermBuilder::Lay(int32_t root) {
    // Every node needs at most two cells, so the block never moves while the
    // instructions take pointers into it.
    cells_ = std::make_unique<Real[]>(2 * nodes_.size() + 1);
    calls_.reserve(nodes_.size());
    Emit(root);
    code_.push_back({InstructionCode::End, nullptr, nullptr, nullptr});
    FuseLoads(code_);
    return CompiledExpression(std::move(code_), std::move(calls_), std::move(cells_));
}

Real* TermBuilder::NewCell(Real value) {
    cells_[usedCells_] = value;
    return &cells_[usedCells_++];
}

std::optional<double> TermBuilder::Narrow(int32_t index) const {
    const Node& node = nodes_[index];
    if (node.kind != OperationKind::Constant) return std::nullopt;
    return NarrowConstant(node.value);
}

Real* TermBuilder::LeafCell(int32_t index) {
    const Node& node = nodes_[index];
    return node.kind == OperationKind::Variable ? node.variable : NewCell(node.value);
}

// Code that leaves the value of the node in the accumulator. A binary term with
// a leaf on one side combines that cell directly; otherwise the right side is
// computed first and parked in a cell of its own.
void TermBuilder::Emit(int32_t index) {
    const Node& node = nodes_[index];
    const auto emit = [this](InstructionCode code, Real* cell = nullptr) {
        code_.push_back({code, cell, nullptr, nullptr});
    };
    switch (node.kind) {
        case OperationKind::Variable:
        case OperationKind::Constant:
            if (const auto narrow = Narrow(index)) {
                return code_.push_back(
                    {InstructionCode::LoadConstant, nullptr, nullptr, nullptr, *narrow});
            }
            return emit(InstructionCode::Load, LeafCell(index));
        case OperationKind::Negate:
            Emit(node.first);
            return emit(InstructionCode::Negate);
        case OperationKind::Square:
            Emit(node.first);
            return emit(InstructionCode::Square);
        case OperationKind::Cube:
            Emit(node.first);
            return emit(InstructionCode::Cube);
        case OperationKind::FourthPower:
            Emit(node.first);
            return emit(InstructionCode::FourthPower);
        case OperationKind::Function1: {
            Emit(node.first);
            if (node.inlineCode != InstructionCode::Call) return emit(node.inlineCode);
            Real* argument = NewCell();
            calls_.push_back({argument, nullptr, argument, node.routine, node.kind, node.context});
            code_.push_back({InstructionCode::Call, argument, &calls_.back(), nullptr});
            return;
        }
        case OperationKind::Function2: {
            Emit(node.first);
            Real* first = NewCell();
            emit(InstructionCode::Store, first);
            Emit(node.second);
            Real* second = NewCell();
            calls_.push_back({first, second, second, node.routine, node.kind, node.context});
            code_.push_back({InstructionCode::Call, second, &calls_.back(), nullptr});
            return;
        }
        default:
            break;
    }
    using Code = InstructionCode;
    struct Codes {
        OperationKind kind;
        Code direct;                      // accumulator op cell
        Code reversed;                    // cell op accumulator
        Code directConstant = Code::End;  // the same with a narrow constant, where there is one
        Code reversedConstant = Code::End;
    };
    static constexpr Codes kCodes[] = {
        {OperationKind::Add, Code::Add, Code::Add, Code::AddConstant, Code::AddConstant},
        {OperationKind::Subtract, Code::Subtract, Code::SubtractFrom, Code::SubtractConstant,
         Code::SubtractFromConstant},
        {OperationKind::Multiply, Code::Multiply, Code::Multiply, Code::MultiplyConstant,
         Code::MultiplyConstant},
        {OperationKind::Divide, Code::Divide, Code::DivideInto, Code::DivideConstant,
         Code::DivideIntoConstant},
        {OperationKind::IntegerQuotient, Code::IntegerQuotient, Code::IntegerQuotientOf},
        {OperationKind::IntegerRemainder, Code::IntegerRemainder, Code::IntegerRemainderOf},
        {OperationKind::RealPower, Code::RealPower, Code::RealPowerOf},
        // The exponent of an integer power is always a literal, so never reversed.
        {OperationKind::IntegerPower, Code::IntegerPower, Code::End},
    };
    const Codes* codes = nullptr;
    for (const Codes& candidate : kCodes) {
        if (candidate.kind == node.kind) codes = &candidate;
    }
    if (codes == nullptr) throw EParserInternalError(kMessageInternalError);
    const auto isLeaf = [this](int32_t child) {
        return nodes_[child].kind == OperationKind::Variable ||
               nodes_[child].kind == OperationKind::Constant;
    };
    // The operation with leaf `operand` as its cell or narrow constant.
    const auto emitWith = [&](Code withCell, Code withConstant, int32_t operand) {
        const auto narrow = withConstant != Code::End ? Narrow(operand) : std::nullopt;
        int exponent;
        if (narrow && withConstant == Code::DivideConstant &&
            std::fabs(std::frexp(*narrow, &exponent)) == 0.5 && exponent > -1020 &&
            exponent < 1020) {
            // Dividing by a power of two is multiplying by its inverse, to the
            // bit, and a multiplication is several times faster.
            code_.push_back({Code::MultiplyConstant, nullptr, nullptr, nullptr, 1 / *narrow});
        } else if (narrow) {
            code_.push_back({withConstant, nullptr, nullptr, nullptr, *narrow});
        } else {
            emit(withCell, LeafCell(operand));
        }
    };
    // acc + a b, acc - a b or a b - acc, for leaves a and b: the product is
    // formed in the instruction, not parked in a cell.
    const auto isLeafProduct = [&](int32_t child) {
        const Node& n = nodes_[child];
        return n.kind == OperationKind::Multiply && isLeaf(n.first) && isLeaf(n.second);
    };
    const auto emitProduct = [&](Code withCells, Code withConstant, int32_t product) {
        const Node& p = nodes_[product];
        for (const auto& [cell, constant] : {std::pair{p.first, p.second}, {p.second, p.first}}) {
            if (const auto narrow = Narrow(constant)) {
                return code_.push_back({withConstant, LeafCell(cell), nullptr, nullptr, *narrow});
            }
        }
        Real* first = LeafCell(p.first);
        code_.push_back({withCells, first, nullptr, LeafCell(p.second)});
    };
    // A leaf plus or minus a leaf times a narrow constant, as in s+i*2: one instruction.
    const auto scaledLeaf = [&](int32_t child) -> std::optional<std::pair<int32_t, double>> {
        if (!isLeafProduct(child)) return std::nullopt;
        const Node& p = nodes_[child];
        if (const auto narrow = Narrow(p.second)) return std::pair{p.first, *narrow};
        if (const auto narrow = Narrow(p.first)) return std::pair{p.second, *narrow};
        return std::nullopt;
    };
    if (node.kind == OperationKind::Add || node.kind == OperationKind::Subtract) {
        const bool add = node.kind == OperationKind::Add;
        if (const auto scaled = scaledLeaf(node.second); scaled && isLeaf(node.first)) {
            code_.push_back({add ? Code::CellPlusProductConstant : Code::CellMinusProductConstant,
                             LeafCell(node.first), nullptr, LeafCell(scaled->first),
                             scaled->second});
            return;
        }
        if (const auto scaled = scaledLeaf(node.first); scaled && isLeaf(node.second)) {
            code_.push_back({add ? Code::CellPlusProductConstant : Code::ProductConstantMinusCell,
                             LeafCell(node.second), nullptr, LeafCell(scaled->first),
                             scaled->second});
            return;
        }
    }
    if ((node.kind == OperationKind::Add || node.kind == OperationKind::Subtract) &&
        !isLeaf(node.first) && !isLeaf(node.second)) {
        const bool add = node.kind == OperationKind::Add;
        if (isLeafProduct(node.second)) {
            Emit(node.first);
            return add ? emitProduct(Code::AddProduct, Code::AddProductConstant, node.second)
                       : emitProduct(Code::SubtractProduct, Code::SubtractProductConstant,
                                     node.second);
        }
        if (isLeafProduct(node.first)) {
            Emit(node.second);
            return add ? emitProduct(Code::AddProduct, Code::AddProductConstant, node.first)
                       : emitProduct(Code::SubtractFromProduct, Code::SubtractFromProductConstant,
                                     node.first);
        }
    }
    if (isLeaf(node.second)) {
        Emit(node.first);
        emitWith(codes->direct, codes->directConstant, node.second);
    } else if (isLeaf(node.first) && codes->reversed != Code::End) {
        Emit(node.second);
        emitWith(codes->reversed, codes->reversedConstant, node.first);
    } else {
        Emit(node.second);
        Real* parked = NewCell();
        emit(InstructionCode::Store, parked);
        Emit(node.first);
        emit(codes->direct, parked);
    }
}

}  // namespace

CompiledExpression CompileExpression(const std::string& source, const SymbolTable& symbols) {
    std::string text = source;
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), isTrimmed);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isTrimmed).base();
    text = first < last ? std::string(first, last) : std::string();

    if (std::any_of(text.begin(), text.end(), IsBlank)) {
        throw EExpressionHasBlanks(kMessageHasBlanks);
    }
    if (std::count(text.begin(), text.end(), '(') != std::count(text.begin(), text.end(), ')')) {
        throw EMissMatchingBracket(kMessageMissingBrackets);
    }

    // Positions are 32-bit; no sensible expression comes near that.
    if (text.size() > kMaxTextLength) throw EExpressionTooComplex(kMessageTooComplex);
    ExpressionClassifier classifier(text, symbols);
    const auto size = static_cast<int32_t>(text.size());
    if (!classifier.WellNested() || size == 0 ||
        classifier.Classify(0, size).form == TermForm::Invalid) {
        throw ESyntaxError(classifier.SyntaxErrorMessage());
    }
    TermBuilder builder(text, classifier, symbols);
    const int32_t root = builder.Build(0, size, 0);
    return builder.Lay(root);
}

}  // namespace expr
