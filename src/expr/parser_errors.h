// Exceptions of the expression compiler; each carries the text the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace expr {

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
