// A compiled expression: a flat list of accumulator instructions over one block
// of cells, and the walk that evaluates it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "parser.h"

namespace expr {

// The value being computed lives in one accumulator; each instruction combines
// it with at most one cell. "Of" variants take the cell as the left operand.
enum class InstructionCode : uint8_t {
    Load,
    Store,
    Add,
    Subtract,
    SubtractFrom,
    Multiply,
    Divide,
    DivideInto,
    Negate,
    Square,
    Cube,
    FourthPower,
    IntegerPower,
    RealPower,
    RealPowerOf,
    IntegerQuotient,
    IntegerQuotientOf,
    IntegerRemainder,
    IntegerRemainderOf,
    // The same with a constant that is exactly a double, whose load is several
    // times cheaper than one of 80 bits.
    LoadConstant,
    AddConstant,
    SubtractConstant,
    SubtractFromConstant,
    MultiplyConstant,
    DivideConstant,
    DivideIntoConstant,
    // cell op other: a load fused with the operation that follows it.
    AddCells,
    SubtractCells,
    MultiplyCells,
    DivideCells,
    SquareCell,
    CubeCell,
    // cell op constant, constant op cell.
    AddCellConstant,
    SubtractCellConstant,
    SubtractConstantCell,
    MultiplyCellConstant,
    DivideCellConstant,
    DivideConstantCell,
    // acc + cell other, acc - cell other, cell other - acc, and the same with
    // the constant for other: a product of two leaves needs no cell of its own.
    AddProduct,
    SubtractProduct,
    SubtractFromProduct,
    AddProductConstant,
    SubtractProductConstant,
    SubtractFromProductConstant,
    // cell + other constant, cell - other constant, other constant - cell.
    CellPlusProductConstant,
    CellMinusProductConstant,
    ProductConstantMinusCell,
    // Built-in functions worth doing without a routine call.
    Sqrt,
    Abs,
    Sin,
    Cos,
    Exp,
    Ln,
    Tan,
    Sinh,
    Cosh,
    Log10,
    Log2,
    Heaviside,
    Sign,
    Zero,
    // The same of a cell: a load fused with the function after it.
    SqrtCell,
    AbsCell,
    SinCell,
    CosCell,
    ExpCell,
    LnCell,
    HeavisideCell,
    SignCell,
    ZeroCell,
    // Any other function: cell holds the last argument, call the operation.
    Call,
    End,
};

struct Instruction {
    InstructionCode code;
    Real* cell = nullptr;
    ParserOperation* call = nullptr;
    const Real* other = nullptr;  // second cell of the fused forms
    double constant = 0;          // the operand of the Constant forms
};

// A constant that a double holds exactly, or nothing.
std::optional<double> NarrowConstant(Real value);

// Fuses each load with the arithmetic instruction after it where a fused form exists.
void FuseLoads(std::vector<Instruction>& code);

class CompiledExpression {
public:
    // The empty expression, whose value is 0.
    CompiledExpression() : code_{{InstructionCode::End}} {}
    // `code` ends with End; it points into `cells`, `calls` and variable cells
    // owned elsewhere.
    CompiledExpression(std::vector<Instruction> code, std::vector<ParserOperation> calls,
                       std::unique_ptr<Real[]> cells);

    // Runs the instructions and returns the result. Throws
    // EMathError when the arithmetic failed on the way.
    Real Evaluate();

private:
    // Sets `faultMayBeHidden` when a fault before could have left a finite value.
    Real Run(bool& faultMayBeHidden);
    Real Recheck();

    std::vector<Instruction> code_;
    std::vector<ParserOperation> calls_;
    std::unique_ptr<Real[]> cells_;
    // Library functions report some faults in the SSE flags; plain arithmetic
    // only in the x87 flags, which are cheaper to read alone.
    bool x87Only_ = true;
    // Only additions, subtractions, multiplications and the like: a fault on the
    // way always leaves an infinite or NaN result.
    bool faultsShowInResult_ = true;
    // Anything but loads, stores, sign changes and comparison functions.
    bool mayFault_ = false;
};

// Runs one operation record the way the instructions do; constant folding uses it.
void ExecuteOperation(ParserOperation& op);

// The routine stored in operation records of the arithmetic kinds.
void ArithmeticRoutine(ParserOperation& op);

// Division by zero, an invalid operation or an overflow is flagged (x87 and SSE).
bool FloatingPointFaultRaised();

}  // namespace expr
