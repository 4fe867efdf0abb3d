// Exceptions of the expression compiler; each carries the text the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace expr {

// The user-visible texts of the compile and evaluation errors, in one place.
inline constexpr char kMessageHasBlanks[] = "Expression has blanks";
inline constexpr char kMessageMissingBrackets[] = "Missing brackets in expression";
inline constexpr char kMessageParsePrefix[] = "Error parsing expression:\r";
inline constexpr char kMessageTooManyNestings[] = "Expression contains too many nestings";
inline constexpr char kMessageTooComplex[] = "Expression is too complex";
inline constexpr char kMessageInternalError[] = "TParser internal error";
inline constexpr char kMessageDivisionByZero[] = "Division by zero";
inline constexpr char kMessageFloatDivisionByZero[] = "Floating point division by zero";
inline constexpr char kMessageInvalidOperation[] = "Invalid floating point operation";
inline constexpr char kMessageOverflow[] = "Floating point overflow";

class EMathParserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ESyntaxError : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EExpressionHasBlanks : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EExpressionTooComplex : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class ETooManyNestings : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EMissMatchingBracket : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EBadName : public EMathParserError {
    using EMathParserError::EMathParserError;
};
class EParserInternalError : public EMathParserError {
    using EMathParserError::EMathParserError;
};

// Raised out of Value() when the arithmetic fails (division by zero, log of a
// negative number, overflow, ...). Not a compile error: the runner reports it as
// an evaluation error.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace expr
