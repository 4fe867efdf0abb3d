// The calculator's factorisation pipeline.
#include "bigint/factorisation.h"

#include <array>

#include "bigint/factoring.h"

namespace bigint {

namespace {

// The squares modulo 100: a^2 - n can only be a square when its last two digits are one.
std::array<bool, 100> SquaresModulo100() {
    std::array<bool, 100> squares{};
    for (int i = 1; i <= 100; ++i) squares[static_cast<size_t>(i * i % 100)] = true;
    return squares;
}

std::string PowerLine(const TInteger& base, int64_t exponent) {
    return base.ToText() + "^" + std::to_string(exponent);
}

}  // namespace

TInteger FermatFactor(const TInteger& n, int64_t steps, const std::function<bool()>& keepGoing) {
    static const std::array<bool, 100> squares = SquaresModulo100();
    TInteger a = n;
    a.Sqrt();
    TInteger r = a;
    r.Square();
    if (r == n) return a;
    r.Subtract(n);  // a^2 - n, negative until a passes sqrt(n)
    TInteger u = a;
    u.Add(u);
    u.Add(TInteger(1));
    const TInteger two(2);
    for (int64_t step = 0; step < steps; ++step) {
        if ((step & 1023) == 0 && keepGoing && !keepGoing()) break;
        a.Add(TInteger(1));
        r.Add(u);
        u.Add(two);
        TInteger lastTwo = r;
        int64_t digits = 0;
        lastTwo.DivideInt64(100, digits);
        if (r.Sign() < 0 || !squares[static_cast<size_t>(digits)]) continue;
        TInteger root = r;
        root.Sqrt();
        TInteger t = a;
        t.Subtract(root);
        if (t.CompareInt64(1) <= 0) continue;
        TInteger remainder = n;
        remainder.ModBy(t);
        if (remainder.IsZero()) return t;
    }
    return n;
}

std::optional<std::vector<TInteger>> ReadOutsideFactors(const std::string& output,
                                                        const TInteger& n) {
    std::vector<TInteger> factors;
    TInteger product(1);
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty()) continue;
        if (line.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
        TInteger factor;
        factor.AssignText(line);
        if (factor.CompareInt64(2) < 0 || !factor.IsProbablePrime()) return std::nullopt;
        product.Multiply(factor);
        factors.push_back(factor);
    }
    TInteger size = n;
    if (size.Sign() < 0) size.Negate();
    if (factors.empty() || !(product == size)) return std::nullopt;
    return factors;
}

Factorisation::Factorisation(Report report, Outside outside, KeepGoing keepGoing,
                             FactorisationSettings settings)
    : report_(std::move(report)),
      outside_(std::move(outside)),
      keepGoing_(std::move(keepGoing)),
      settings_(settings) {}

bool Factorisation::Stopped() {
    if (!stopped_ && keepGoing_ && !keepGoing_()) {
        stopped_ = true;
        report_("gestopt");
    }
    return stopped_;
}

void Factorisation::Run(const TInteger& input) {
    TInteger x = input;
    // 0 has no factorisation and would divide by 2 for ever; a sign is a factor -1.
    if (x.IsZero()) {
        report_("0 heeft geen ontbinding in priemfactoren");
        return;
    }
    if (x.Sign() < 0) {
        report_("-1");
        x.Negate();
    }
    if (x.CompareInt64(1) == 0 || x.IsProbablePrime()) {
        report_(x.ToText());
        return;
    }
    report_("kleine factoren uitdelen");
    int64_t divisor = 2;
    int64_t increment = 2;
    while (divisor <= settings_.trialLimit && x.CompareInt64(1) != 0) {
        int64_t exponent = 0;
        while (true) {
            TInteger quotient = x;
            int64_t remainder = 0;
            quotient.DivideInt64(divisor, remainder);
            if (remainder != 0) break;
            x = quotient;
            ++exponent;
        }
        if (exponent > 0) report_(PowerLine(TInteger(divisor), exponent));
        if ((divisor & 1023) == 0 && Stopped()) return;
        // 2, 3, 5, then alternately +2 and +4: 7, 11, 13, 17, ...
        if (divisor < 5) {
            divisor = divisor == 2 ? 3 : 5;
        } else {
            divisor += increment;
            increment = 6 - increment;
        }
    }
    if (x.CompareInt64(1) > 0) {
        // A perfect power r^k goes on as r, and every prime found in r is written to the
        // power k: writing r^k and then r's factors as well would count them twice.
        multiplicity_ = 1;
        for (int64_t k : {2, 3, 5, 7, 11, 13, 17, 19}) {
            TInteger root = x;
            root.NthRoot(k);
            TInteger power = root;
            power.Power(k);
            if (power == x && root.CompareInt64(1) > 0) {
                multiplicity_ *= k;
                x = root;
            }
        }
        if (x.CompareInt64(1) > 0) WriteOrProcess(x);
    }
    if (!stopped_) report_("klaar");
}

void Factorisation::WritePrime(const TInteger& p) {
    report_(multiplicity_ > 1 ? PowerLine(p, multiplicity_) : p.ToText());
}

void Factorisation::WriteOrProcess(const TInteger& n) {
    if (Stopped()) return;
    if (n.IsProbablePrime()) {
        WritePrime(n);
    } else {
        ProcessComposite(n);
    }
}

void Factorisation::ProcessComposite(const TInteger& n) {
    if (Stopped()) return;
    report_("verder verwerken van " + n.ToText());
    if (!SplitByFermat(n) && !Stopped()) RhoStage(n);
}

bool Factorisation::SplitByFermat(const TInteger& n) {
    const TInteger g = FermatFactor(n, settings_.fermatSteps, [this] { return !Stopped(); });
    if (Stopped() || g.Compare(n) >= 0) return false;
    TInteger c = n;
    c.DivideBy(g);
    WriteOrProcess(g);
    WriteOrProcess(c);
    return true;
}

void Factorisation::RhoStage(TInteger n) {
    report_("verdere factoren zoeken met Pollards rho");
    double budget = settings_.firstRhoSeconds;
    const SearchStep step = [this] { return !Stopped(); };
    while (budget > 0) {
        TInteger f = n;
        PollardRho(f, budget, step);
        if (Stopped()) return;
        budget -= settings_.rhoSecondsStep;
        if (f.Compare(n) < 0) {
            // Rho may find a composite divisor: only primes are written.
            n.DivideBy(f);
            WriteOrProcess(f);
            if (Stopped()) return;
        }
        if (f == n || n.CompareInt64(1) == 0 || n.IsProbablePrime()) break;
    }
    if (n.CompareInt64(1) <= 0) return;
    if (n.IsProbablePrime()) {
        WritePrime(n);
        return;
    }
    if (!SplitByFermat(n) && !Stopped()) AskOutside(n);
}

void Factorisation::AskOutside(const TInteger& n) {
    report_("start gp: kwadratische zeef en ECM om " + n.ToText() + " te factoriseren");
    report_("extern programma");
    report_("tijdsduur beperkt tot 2 minuten");
    const OutsideFactors found = outside_ ? outside_(n) : OutsideFactors{{}, "niet beschikbaar"};
    if (Stopped()) return;
    if (!found.problem.empty()) {
        report_(found.problem);
        return;
    }
    for (const TInteger& factor : found.factors) WritePrime(factor);
}

}  // namespace bigint
