// The factorisation of the calculator window: small factors, perfect powers,
// Fermat's method, Pollard's rho under shrinking budgets and, for what is left, an
// outside factoring program. Every finding is reported as one line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bigint/integer.h"

namespace bigint {

struct FactorisationSettings {
    int64_t trialLimit = 200000;
    double firstRhoSeconds = 20;  // each following search gets 5 seconds less
    double rhoSecondsStep = 5;
    int64_t fermatSteps = 50000;
};

// What the outside program said: the prime factors (with repetition) of the number
// it was given, or why there are none.
struct OutsideFactors {
    std::vector<TInteger> factors;
    std::string problem;  // empty when the factors are there
};

class Factorisation {
public:
    using Report = std::function<void(const std::string& line)>;
    using Outside = std::function<OutsideFactors(const TInteger& n)>;
    // False stops the work at the next step.
    using KeepGoing = std::function<bool()>;

    Factorisation(Report report, Outside outside, KeepGoing keepGoing,
                  FactorisationSettings settings = {});
    // Writes the factors of x, ending with "klaar" (a prime is written alone).
    void Run(const TInteger& x);

private:
    bool Stopped();
    void WritePrime(const TInteger& p);
    void WriteOrProcess(const TInteger& n);
    void ProcessComposite(const TInteger& n);
    // Fermat's method; true when it split n and both parts were dealt with.
    bool SplitByFermat(const TInteger& n);
    void RhoStage(TInteger n);
    void AskOutside(const TInteger& n);

    Report report_;
    Outside outside_;
    KeepGoing keepGoing_;
    FactorisationSettings settings_;
    bool stopped_ = false;
    int64_t multiplicity_ = 1;  // the power of a perfect power being factored
};

// Fermat's method, at most `steps` steps: a factor of n (n itself when none is found).
TInteger FermatFactor(const TInteger& n, int64_t steps, const std::function<bool()>& keepGoing);

// Whether the outside program's lines are a factorisation of n: one prime a line,
// whose product is n. Anything else (garbage, a hang cut short) is not.
std::optional<std::vector<TInteger>> ReadOutsideFactors(const std::string& output,
                                                        const TInteger& n);

}  // namespace bigint
