// Evaluation of a compiled expression: a switch over accumulator instructions,
// with arithmetic faults read once per evaluation from the floating-point flags.
#include "compiled_expression.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "builtin_functions.h"
#include "long_double_math.h"

namespace expr {

namespace {

constexpr int kFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// The x87 status word and MXCSR share the bit layout of the FE_ flags; reading
// them directly is far cheaper than fetestexcept. Each read waits for the
// arithmetic before it, so the hot path reads as little as it can.
bool X87FaultRaised() {
#if defined(__x86_64__) || defined(__i386__)
    uint16_t status;
    asm volatile("fnstsw %0" : "=am"(status)::"memory");
    return (status & kFaultFlags) != 0;
#else
    return std::fetestexcept(kFaultFlags) != 0;
#endif
}

[[noreturn, gnu::noinline, gnu::cold]] void ThrowFloatingPointFault() {
    const int raised = std::fetestexcept(kFaultFlags);
    std::feclearexcept(kFaultFlags);
    if (raised & FE_DIVBYZERO) throw EMathError(kMessageFloatDivisionByZero);
    if (raised & FE_INVALID) throw EMathError(kMessageInvalidOperation);
    throw EMathError(kMessageOverflow);
}

// DIV and MOD work on 64-bit integers, where a zero divisor would trap.
[[gnu::noinline]] Real IntegerDivision(Real dividend, Real divisor, bool remainder) {
    constexpr Real kLimit = 9223372036854775808.0L;  // 2^63
    if (!(dividend >= -kLimit && dividend < kLimit && divisor >= -kLimit && divisor < kLimit)) {
        std::feraiseexcept(FE_INVALID);  // NaN, infinite or beyond 64 bits
        return std::numeric_limits<Real>::quiet_NaN();
    }
    const auto a = static_cast<int64_t>(dividend);
    const auto b = static_cast<int64_t>(divisor);
    if (b == 0) throw EMathError(kMessageDivisionByZero);
    if (b == -1) return remainder ? 0.0L : -static_cast<Real>(a);  // -2^63 / -1 overflows int64
    return static_cast<Real>(remainder ? a % b : a / b);
}

// Quiet comparisons with infinity, which loads as a 4-byte float: isfinite and
// isinf compare with the largest long double, a load of 80 bits.
[[gnu::always_inline]] inline bool Finite(Real x) {
    return __builtin_isless(std::fabs(x), std::numeric_limits<float>::infinity());
}
[[gnu::always_inline]] inline bool Infinite(Real x) {
    return std::fabs(x) == std::numeric_limits<float>::infinity();
}

// Instructions after which a fault can only have happened when the value is no
// longer finite: an overflow stays infinite and an invalid operation stays NaN
// through addition, subtraction, multiplication, square roots, sines, cosines
// and logarithms, but not through a function such as heav(inf) = 1. A division
// by an infinite value (x/inf = 0) and exp(-inf) = 0 hide one too: the
// evaluation notes those as they happen.
bool KeepsFaultsVisible(InstructionCode code) {
    switch (code) {
        case InstructionCode::Load:
        case InstructionCode::Store:
        case InstructionCode::Add:
        case InstructionCode::Subtract:
        case InstructionCode::SubtractFrom:
        case InstructionCode::Multiply:
        case InstructionCode::LoadConstant:
        case InstructionCode::AddConstant:
        case InstructionCode::SubtractConstant:
        case InstructionCode::SubtractFromConstant:
        case InstructionCode::MultiplyConstant:
        case InstructionCode::DivideConstant:
        case InstructionCode::DivideIntoConstant:
        case InstructionCode::AddCellConstant:
        case InstructionCode::SubtractCellConstant:
        case InstructionCode::SubtractConstantCell:
        case InstructionCode::MultiplyCellConstant:
        case InstructionCode::DivideCellConstant:
        case InstructionCode::DivideConstantCell:
        case InstructionCode::AddProduct:
        case InstructionCode::SubtractProduct:
        case InstructionCode::SubtractFromProduct:
        case InstructionCode::AddProductConstant:
        case InstructionCode::SubtractProductConstant:
        case InstructionCode::SubtractFromProductConstant:
        case InstructionCode::CellPlusProductConstant:
        case InstructionCode::CellMinusProductConstant:
        case InstructionCode::ProductConstantMinusCell:
        case InstructionCode::Negate:
        case InstructionCode::Square:
        case InstructionCode::Cube:
        case InstructionCode::FourthPower:
        case InstructionCode::AddCells:
        case InstructionCode::SubtractCells:
        case InstructionCode::MultiplyCells:
        case InstructionCode::SquareCell:
        case InstructionCode::CubeCell:
        case InstructionCode::Abs:
        case InstructionCode::Divide:
        case InstructionCode::DivideInto:
        case InstructionCode::DivideCells:
        case InstructionCode::Sqrt:
        case InstructionCode::Sin:
        case InstructionCode::Cos:
        case InstructionCode::Exp:
        case InstructionCode::Ln:
        case InstructionCode::Tan:
        case InstructionCode::Sinh:
        case InstructionCode::Cosh:
        case InstructionCode::Log10:
        case InstructionCode::Log2:
        case InstructionCode::SqrtCell:
        case InstructionCode::AbsCell:
        case InstructionCode::SinCell:
        case InstructionCode::CosCell:
        case InstructionCode::ExpCell:
        case InstructionCode::LnCell:
        case InstructionCode::End:
            return true;
        default:
            return false;
    }
}

// Loads, stores, sign changes and calls of comparison functions raise nothing.
bool CannotFault(const Instruction& instruction) {
    switch (instruction.code) {
        case InstructionCode::Load:
        case InstructionCode::LoadConstant:
        case InstructionCode::Store:
        case InstructionCode::Negate:
        case InstructionCode::Abs:
        case InstructionCode::Heaviside:
        case InstructionCode::Sign:
        case InstructionCode::Zero:
        case InstructionCode::AbsCell:
        case InstructionCode::HeavisideCell:
        case InstructionCode::SignCell:
        case InstructionCode::ZeroCell:
        case InstructionCode::End:
            return true;
        case InstructionCode::Call:
            return NeverFaults(instruction.call->routine);
        default:
            return false;
    }
}

}  // namespace

std::optional<double> NarrowConstant(Real value) {
    const auto narrow = static_cast<double>(value);
    if (!std::isfinite(value) || static_cast<Real>(narrow) != value) return std::nullopt;
    return narrow;
}

bool FloatingPointFaultRaised() {
#if defined(__x86_64__) || defined(__i386__)
    uint32_t control;
    asm volatile("stmxcsr %0" : "=m"(control)::"memory");
    return X87FaultRaised() || (control & kFaultFlags) != 0;
#else
    return std::fetestexcept(kFaultFlags) != 0;
#endif
}

CompiledExpression::CompiledExpression(std::vector<Instruction> code,
                                       std::vector<ParserOperation> calls,
                                       std::unique_ptr<Real[]> cells)
    : code_(std::move(code)), calls_(std::move(calls)), cells_(std::move(cells)) {
    for (const Instruction& instruction : code_) {
        // Sin, Cos and Exp fault only in the x87 unit (their fallbacks sinl, cosl
        // and expl too); logl reports a zero or negative argument through SSE,
        // the C library's fallbacks of the other functions done in place may
        // as well, and routines may do anything.
        switch (instruction.code) {
            case InstructionCode::Ln:
            case InstructionCode::LnCell:
            case InstructionCode::Tan:
            case InstructionCode::Sinh:
            case InstructionCode::Cosh:
            case InstructionCode::Log10:
            case InstructionCode::Log2:
            case InstructionCode::RealPower:
            case InstructionCode::RealPowerOf:
            case InstructionCode::IntegerQuotient:
            case InstructionCode::IntegerQuotientOf:
            case InstructionCode::IntegerRemainder:
            case InstructionCode::IntegerRemainderOf:
            case InstructionCode::Call:
                if (instruction.code != InstructionCode::Call ||
                    !UsesOnlyX87Flags(instruction.call->routine)) {
                    x87Only_ = false;
                }
                break;
            default:
                break;
        }
        const bool inSight =
            KeepsFaultsVisible(instruction.code) || (instruction.code == InstructionCode::Call &&
                                                     KeepsFaultsInSight(instruction.call->routine));
        if (!inSight) faultsShowInResult_ = false;
        if (!CannotFault(instruction)) mayFault_ = true;
    }
}

void ExecuteOperation(ParserOperation& op) {
    switch (op.kind) {
        case OperationKind::Variable:
        case OperationKind::Constant:
            break;
        case OperationKind::Negate:
            *op.result = -*op.op1;
            break;
        case OperationKind::Add:
            *op.result = *op.op1 + *op.op2;
            break;
        case OperationKind::Subtract:
            *op.result = *op.op1 - *op.op2;
            break;
        case OperationKind::Multiply:
            *op.result = *op.op1 * *op.op2;
            break;
        case OperationKind::Divide:
            *op.result = *op.op1 / *op.op2;
            break;
        case OperationKind::IntegerRemainder:
            *op.result = IntegerDivision(*op.op1, *op.op2, true);
            break;
        case OperationKind::IntegerQuotient:
            *op.result = IntegerDivision(*op.op1, *op.op2, false);
            break;
        case OperationKind::IntegerPower:
            *op.result = IntegerPower(*op.op1, TruncateToInt64(*op.op2));
            break;
        case OperationKind::RealPower:
            *op.result = RealPower(*op.op1, *op.op2);
            break;
        case OperationKind::Square:
            *op.result = *op.op1 * *op.op1;
            break;
        case OperationKind::Cube:
            *op.result = *op.op1 * *op.op1 * *op.op1;
            break;
        case OperationKind::FourthPower: {
            const Real square = *op.op1 * *op.op1;
            *op.result = square * square;
            break;
        }
        case OperationKind::Function1:
        case OperationKind::Function2:
            op.routine(op);
            break;
    }
}

void ArithmeticRoutine(ParserOperation& op) {
    ExecuteOperation(op);
}

namespace {

// The fused form of a load of a cell or a constant followed by `next`, or End.
InstructionCode FusedCode(const Instruction& load, const Instruction& next) {
    using Code = InstructionCode;
    if (load.code == Code::LoadConstant) {
        switch (next.code) {
            case Code::Add:
                return Code::AddCellConstant;  // c + k is k + c to the last bit
            case Code::Subtract:
                return Code::SubtractConstantCell;
            case Code::Multiply:
                return Code::MultiplyCellConstant;
            case Code::Divide:
                return Code::DivideConstantCell;
            default:
                return Code::End;
        }
    }
    if (load.code != Code::Load) return Code::End;
    switch (next.code) {
        case Code::Add:
            return Code::AddCells;
        case Code::Subtract:
            return Code::SubtractCells;
        case Code::Multiply:
            return Code::MultiplyCells;
        case Code::Divide:
            return Code::DivideCells;
        case Code::Square:
            return Code::SquareCell;
        case Code::Cube:
            return Code::CubeCell;
        case Code::AddConstant:
            return Code::AddCellConstant;
        case Code::SubtractConstant:
            return Code::SubtractCellConstant;
        case Code::MultiplyConstant:
            return Code::MultiplyCellConstant;
        case Code::DivideConstant:
            return Code::DivideCellConstant;
        case Code::Sqrt:
            return Code::SqrtCell;
        case Code::Abs:
            return Code::AbsCell;
        case Code::Sin:
            return Code::SinCell;
        case Code::Cos:
            return Code::CosCell;
        case Code::Exp:
            return Code::ExpCell;
        case Code::Ln:
            return Code::LnCell;
        case Code::Heaviside:
            return Code::HeavisideCell;
        case Code::Sign:
            return Code::SignCell;
        case Code::Zero:
            return Code::ZeroCell;
        default:
            return Code::End;
    }
}

}  // namespace

void FuseLoads(std::vector<Instruction>& code) {
    std::vector<Instruction> fused;
    fused.reserve(code.size());
    for (size_t i = 0; i < code.size(); ++i) {
        const Instruction& load = code[i];
        if (i + 1 < code.size()) {
            const Instruction& next = code[i + 1];
            const InstructionCode combined = FusedCode(load, next);
            if (combined != InstructionCode::End) {
                // The cell of a constant form is the other instruction's.
                const bool constantLoad = load.code == InstructionCode::LoadConstant;
                Instruction both{combined, constantLoad ? next.cell : load.cell, nullptr,
                                 constantLoad ? nullptr : next.cell};
                both.constant = constantLoad ? load.constant : next.constant;
                fused.push_back(both);
                ++i;
                continue;
            }
        }
        fused.push_back(load);
    }
    code = std::move(fused);
}

// Inlined into Evaluate: a call and the saving of registers cost as much as a
// short expression.
[[gnu::always_inline]] inline Real CompiledExpression::Run(bool& faultMayBeHidden) {
    Real acc = 0;
    for (const Instruction* in = code_.data();; ++in) {
        switch (in->code) {
            case InstructionCode::Load:
                acc = *in->cell;
                break;
            case InstructionCode::Store:
                *in->cell = acc;
                break;
            case InstructionCode::Add:
                acc += *in->cell;
                break;
            case InstructionCode::Subtract:
                acc -= *in->cell;
                break;
            case InstructionCode::SubtractFrom:
                acc = *in->cell - acc;
                break;
            case InstructionCode::Multiply:
                acc *= *in->cell;
                break;
            case InstructionCode::Divide:
                if (Infinite(*in->cell)) [[unlikely]]
                    faultMayBeHidden = true;
                acc /= *in->cell;
                break;
            case InstructionCode::DivideInto:
                if (Infinite(acc)) [[unlikely]]
                    faultMayBeHidden = true;
                acc = *in->cell / acc;
                break;
            case InstructionCode::Negate:
                acc = -acc;
                break;
            case InstructionCode::Square:
                acc *= acc;
                break;
            case InstructionCode::Cube:
                acc = acc * acc * acc;
                break;
            case InstructionCode::FourthPower:
                acc *= acc;
                acc *= acc;
                break;
            case InstructionCode::IntegerPower:
                acc = IntegerPower(acc, TruncateToInt64(*in->cell));
                break;
            case InstructionCode::RealPower:
                acc = RealPower(acc, *in->cell);
                break;
            case InstructionCode::RealPowerOf:
                acc = RealPower(*in->cell, acc);
                break;
            case InstructionCode::IntegerQuotient:
                acc = IntegerDivision(acc, *in->cell, false);
                break;
            case InstructionCode::IntegerQuotientOf:
                acc = IntegerDivision(*in->cell, acc, false);
                break;
            case InstructionCode::IntegerRemainder:
                acc = IntegerDivision(acc, *in->cell, true);
                break;
            case InstructionCode::IntegerRemainderOf:
                acc = IntegerDivision(*in->cell, acc, true);
                break;
            case InstructionCode::LoadConstant:
                acc = in->constant;
                break;
            case InstructionCode::AddConstant:
                acc += in->constant;
                break;
            case InstructionCode::SubtractConstant:
                acc -= in->constant;
                break;
            case InstructionCode::SubtractFromConstant:
                acc = in->constant - acc;
                break;
            case InstructionCode::MultiplyConstant:
                acc *= in->constant;
                break;
            case InstructionCode::DivideConstant:
                acc /= in->constant;  // finite: it cannot hide a fault
                break;
            case InstructionCode::DivideIntoConstant:
                if (Infinite(acc)) [[unlikely]]
                    faultMayBeHidden = true;
                acc = in->constant / acc;
                break;
            case InstructionCode::AddCellConstant:
                acc = *in->cell + in->constant;
                break;
            case InstructionCode::SubtractCellConstant:
                acc = *in->cell - in->constant;
                break;
            case InstructionCode::SubtractConstantCell:
                acc = in->constant - *in->cell;
                break;
            case InstructionCode::MultiplyCellConstant:
                acc = *in->cell * in->constant;
                break;
            case InstructionCode::DivideCellConstant:
                acc = *in->cell / in->constant;
                break;
            case InstructionCode::DivideConstantCell:
                if (Infinite(*in->cell)) [[unlikely]]
                    faultMayBeHidden = true;
                acc = in->constant / *in->cell;
                break;
            case InstructionCode::AddProduct:
                acc += *in->cell * *in->other;
                break;
            case InstructionCode::SubtractProduct:
                acc -= *in->cell * *in->other;
                break;
            case InstructionCode::SubtractFromProduct:
                acc = *in->cell * *in->other - acc;
                break;
            case InstructionCode::AddProductConstant:
                acc += *in->cell * in->constant;
                break;
            case InstructionCode::SubtractProductConstant:
                acc -= *in->cell * in->constant;
                break;
            case InstructionCode::SubtractFromProductConstant:
                acc = *in->cell * in->constant - acc;
                break;
            case InstructionCode::CellPlusProductConstant:
                acc = *in->cell + *in->other * in->constant;
                break;
            case InstructionCode::CellMinusProductConstant:
                acc = *in->cell - *in->other * in->constant;
                break;
            case InstructionCode::ProductConstantMinusCell:
                acc = *in->other * in->constant - *in->cell;
                break;
            case InstructionCode::AddCells:
                acc = *in->cell + *in->other;
                break;
            case InstructionCode::SubtractCells:
                acc = *in->cell - *in->other;
                break;
            case InstructionCode::MultiplyCells:
                acc = *in->cell * *in->other;
                break;
            case InstructionCode::DivideCells:
                if (Infinite(*in->other)) [[unlikely]]
                    faultMayBeHidden = true;
                acc = *in->cell / *in->other;
                break;
            case InstructionCode::SquareCell:
                acc = *in->cell * *in->cell;
                break;
            case InstructionCode::CubeCell:
                acc = *in->cell * *in->cell * *in->cell;
                break;
            case InstructionCode::SqrtCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Sqrt:
#if defined(__x86_64__) || defined(__i386__)
                // fsqrt itself, so a negative argument shows in the x87 flags.
                asm("fsqrt" : "+t"(acc));
#else
                acc = std::sqrt(acc);
#endif
                break;
            case InstructionCode::AbsCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Abs:
                acc = std::fabs(acc);
                break;
            case InstructionCode::SinCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Sin:
                acc = math::Sin(acc);
                break;
            case InstructionCode::CosCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Cos:
                acc = math::Cos(acc);
                break;
            case InstructionCode::ExpCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Exp:
                if (Infinite(acc)) [[unlikely]]
                    faultMayBeHidden = true;
                acc = math::Exp(acc);
                break;
            case InstructionCode::LnCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Ln:
                acc = math::Ln(acc);
                break;
            case InstructionCode::Tan:
                acc = math::Tan(acc);
                break;
            case InstructionCode::Sinh:
                acc = math::Sinh(acc);
                break;
            case InstructionCode::Cosh:
                acc = math::Cosh(acc);
                break;
            case InstructionCode::Log10:
                acc = math::Log10(acc);
                break;
            case InstructionCode::Log2:
                acc = math::Log2(acc);
                break;
            case InstructionCode::HeavisideCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Heaviside:
                acc = Heaviside(acc);
                break;
            case InstructionCode::SignCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Sign:
                acc = Sign(acc);
                break;
            case InstructionCode::ZeroCell:
                acc = *in->cell;
                [[fallthrough]];
            case InstructionCode::Zero:
                acc = Zero(acc);
                break;
            case InstructionCode::Call:
                *in->cell = acc;
                in->call->routine(*in->call);
                acc = *in->call->result;
                break;
            case InstructionCode::End:
                return acc;
        }
    }
}

Real CompiledExpression::Evaluate() {
    bool faultMayBeHidden = false;
    const Real result = Run(faultMayBeHidden);
    // Reading the flags waits for the arithmetic; skip it where nothing can fault
    // or a finite result proves that nothing did.
    if (!mayFault_ || (faultsShowInResult_ && Finite(result) && !faultMayBeHidden)) {
        return result;
    }
    const bool faulted = x87Only_ ? X87FaultRaised() : FloatingPointFaultRaised();
    if (faulted) return Recheck();
    return result;
}

// The flags may have been left by other code before this evaluation. Rather
// than pay for a second read on every evaluation, clear them and run once
// more: a fault that comes back is ours.
[[gnu::noinline]] Real CompiledExpression::Recheck() {
    std::feclearexcept(kFaultFlags);
    bool faultMayBeHidden = false;
    const Real result = Run(faultMayBeHidden);
    if (FloatingPointFaultRaised()) ThrowFloatingPointFault();
    return result;
}

}  // namespace expr
