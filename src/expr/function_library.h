// The functions that programs and the function inputs may call besides the
// built-in ones: comparisons, statistics, rounding, lists and number theory.
#pragma once

#include <functional>
#include <string>

#include "bigint/primes.h"
#include "list_store.h"
#include "parser.h"

namespace expr {

// What the functions need from the program around them.
struct FunctionContext {
    const ListStore* lists = nullptr;
    // The sieve behind ispriem and volgendepriem; it grows on demand.
    bigint::TPrimes primes;
    // Shows a message to the user (a function that refuses its argument says why).
    std::function<void(const std::string&)> showMessage;
};

// Registers the extra functions on Parser1 .. Parser4 (`parserNumber` 1 .. 4): a few
// exist on some of them only (ARCSIN and ARCCOS not on Parser4, ONGELIJK not on
// Parser3, which has ONEPSGELIJK instead). The context must outlive the parser.
void RegisterExtraFunctions(TParser& parser, int parserNumber, FunctionContext& context);

// The computations behind some of them, for tests and other callers.
Real BinomialCoefficient(Real n, Real k);
Real LogBinomialCoefficient(Real n, Real k);
Real ErrorFunction(Real x);
Real NormalCdf(Real x, Real sigma);
Real InverseNormal(Real p);
Real Root(Real x, Real n);

}  // namespace expr
