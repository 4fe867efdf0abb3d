// Counted loops whose bodies hold only assignments and conditions run as a list of
// steps: no handler calls, no argument lookups, the volgende done in place. Each
// step falls back to the handlers while its lines are not compiled yet.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine/runner.h"

namespace engine {

namespace {

constexpr const char* kLoopCaption = "foutje";
constexpr size_t kNoStep = std::numeric_limits<size_t>::max();
// The bytes of the x87 format that hold the value; the rest is padding.
constexpr size_t kRealBytes = 10;
// Counting in integers: values up to 2^62 and steps up to 2^53 cannot overflow.
constexpr Real kCountLimit = 0x1p62L;
constexpr Real kCountStepLimit = 0x1p53L;

}  // namespace

size_t Runner::AfterFalseCondition(size_t conditionLine) const {
    int depth = 1;
    size_t i = conditionLine + 1;
    for (; i < program_.size(); ++i) {
        const std::string& line = program_[i];
        if (line == "als") ++depth;
        if (line == "eindals") --depth;
        if ((line == "eindals" && depth <= 0) || (line == "anders" && depth <= 1) || line.empty()) {
            break;
        }
    }
    return i + 1;
}

size_t Runner::AfterTrueBranch(size_t next) const {
    int depth = 1;
    size_t i = next;
    for (; i < program_.size(); ++i) {
        const std::string& line = program_[i];
        if ((line == "eindals" && depth <= 1) || line.empty()) break;
        if (line == "als") ++depth;
        if (line == "eindals") --depth;
    }
    return i + 1;
}

void LoopRecord::SetRange(Real start, Real endValue, Real stepValue) {
    lastWritten = start;
    end = endValue;
    step = stepValue;
    direction = step > 0 ? 1 : step < 0 ? -1 : 0;
    endAsDouble = static_cast<double>(end);
    narrowEnd = endAsDouble == end;
    const auto whole = [](Real v, Real limit) {
        return std::fabs(v) <= limit && std::trunc(v) == v;
    };
    counting = whole(start, kCountLimit) && whole(step, kCountStepLimit);
    if (counting) {
        count = static_cast<int64_t>(start);
        countStep = static_cast<int64_t>(step);
        // next <= end for a whole next is next <= floor(end), and next >= end is
        // next >= ceil(end); a NaN end ends the loop either way.
        constexpr int64_t kLowest = std::numeric_limits<int64_t>::min();
        constexpr int64_t kHighest = std::numeric_limits<int64_t>::max();
        const Real bound = direction >= 0 ? std::floor(end) : std::ceil(end);
        if (std::isnan(end)) {
            countEnd = direction >= 0 ? kLowest : kHighest;
        } else if (bound >= 0x1p63L) {
            countEnd = kHighest;
        } else if (bound < -0x1p63L) {
            countEnd = kLowest;
        } else {
            countEnd = static_cast<int64_t>(bound);
        }
    }
}

namespace {

// The x87 form of a whole number, built in integer registers: what storing
// static_cast<Real>(value) would write, without the slow store of 80 bits.
struct WholeBits {
    uint64_t mantissa = 0;
    uint16_t signExponent = 0;

    void WriteTo(Real* to) const {
        std::memcpy(to, &mantissa, sizeof mantissa);
        std::memcpy(reinterpret_cast<char*>(to) + sizeof mantissa, &signExponent,
                    sizeof signExponent);
    }
};

WholeBits BitsOfWhole(int64_t value) {
    WholeBits bits;
    if (value == 0) return bits;  // +0, as -1 + 1 gives
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
    const int shift = __builtin_clzll(magnitude);
    bits.mantissa = magnitude << shift;
    bits.signExponent = static_cast<uint16_t>((value < 0 ? 0x8000 : 0) + 16383 + 63 - shift);
    return bits;
}

}  // namespace

// Inline in this file: the loop body runs it on every pass.
[[gnu::always_inline]] inline Runner::CountedStep Runner::StepCounting(LoopRecord& record) {
    Real* cell = record.cells[0];
    // The same bits, compared in integer registers, are the same value.
    if (!record.counting || std::memcmp(cell, &record.lastWritten, kRealBytes) != 0) {
        return CountedStep::NotCounting;
    }
    record.count += record.countStep;  // exact, as current + step would be
    const bool goOn = record.direction > 0   ? record.count <= record.countEnd
                      : record.direction < 0 ? record.count >= record.countEnd
                                             : false;
    if (!goOn) return CountedStep::Ended;
    if (std::abs(record.count) > static_cast<int64_t>(kCountLimit)) [[unlikely]]
        record.counting = false;
    const WholeBits bits = BitsOfWhole(record.count);
    bits.WriteTo(cell);
    bits.WriteTo(&record.lastWritten);
    NoteNumericWrite(record.cells, record.copyEpoch);
    return CountedStep::Next;
}

[[gnu::always_inline]] inline bool Runner::NextPass(const LoopRecord& record) {
    if (record.kind == LoopKind::Animation) snapshot_.ShowOn(surface_);
    cursor_ = record.bodyStart;
    ClearLoopYield();
    return true;
}

bool Runner::StepCountedLoop(LoopRecord& record) {
    switch (StepCounting(record)) {
        case CountedStep::Next:
            return NextPass(record);
        case CountedStep::Ended:
            loops_.pop_back();
            return false;
        case CountedStep::NotCounting:
            break;
    }
    Real* cell = record.cells[0];
    const Real current = *cell;
    if (current != record.lastWritten) {
        loops_.pop_back();
        ShowMessage(kLoopCaption, "Toekenning aan lusvariabele niet toegestaan", MessageIcon::None);
        return false;
    }
    record.counting = false;
    const Real next = current + record.step;
    const Real end = record.narrowEnd ? static_cast<Real>(record.endAsDouble) : record.end;
    const bool goOn = record.direction > 0 ? next <= end : record.direction < 0 && next >= end;
    if (!goOn) {
        loops_.pop_back();
        return false;
    }
    StoreNumeric(record.cells, record.copyEpoch, next);
    std::memcpy(&record.lastWritten, cell, kRealBytes);  // integer moves
    return NextPass(record);
}

// The steps of the body starting at `start`, or none when a line needs a handler.
// Jumps go where the handlers of als and anders would put the cursor.
std::shared_ptr<const std::vector<Runner::BodyStep>> Runner::CompileLoopBody(size_t start) {
    using Kind = BodyStep::Kind;
    std::vector<BodyStep> steps;
    std::vector<size_t> stepAt;                    // per line from `start`: the step run from there
    std::vector<std::pair<size_t, size_t>> jumps;  // step, line it goes on at
    const auto plainValue = [this](size_t line) {
        return line < program_.size() && lineCache_[line].plain && !lineCache_[line].isRepeat;
    };
    for (size_t i = start;;) {
        if (i >= program_.size() || lineCache_[i].isRepeat) return nullptr;
        stepAt.resize(i - start + 1, kNoStep);
        stepAt[i - start] = steps.size();
        const std::string& word = program_[i];
        if (word == "maak") {
            if (!plainValue(i + 1) || lineCache_[i + 1].listElement || !plainValue(i + 2)) {
                return nullptr;
            }
            steps.push_back({Kind::Assign, i, i + 2, 0, &lineCache_[i + 2], &lineCache_[i + 1]});
            i += 3;
        } else if (word == "als") {
            if (!plainValue(i + 1)) return nullptr;
            jumps.emplace_back(steps.size(), AfterFalseCondition(i + 1));
            steps.push_back({Kind::If, i, i + 1, 0, &lineCache_[i + 1], nullptr});
            i += 2;
        } else if (word == "anders") {
            jumps.emplace_back(steps.size(), AfterTrueBranch(i + 1));
            steps.push_back({Kind::Jump, i, 0, 0, nullptr, nullptr});
            i += 1;
        } else if (word == "eindals") {
            i += 1;  // nothing to do: the step after it runs from here
        } else if (word == "volgende" || word == "next") {
            steps.push_back({Kind::LoopEnd, i, 0, 0, nullptr, nullptr});
            break;
        } else {
            return nullptr;
        }
    }
    for (const auto& [step, line] : jumps) {
        // Past the volgende or into an argument line: only the handlers know.
        if (line < start || line - start >= stepAt.size() || stepAt[line - start] == kNoStep) {
            return nullptr;
        }
        steps[step].jump = stepAt[line - start];
    }
    return std::make_shared<const std::vector<BodyStep>>(std::move(steps));
}

size_t Runner::RunLoopBody(const std::vector<BodyStep>& steps, bool& bailed) {
    using Kind = BodyStep::Kind;
    bailed = false;
    const BodyStep* step = steps.data();
    for (;;) {
        statement_ = step->line;
        switch (step->kind) {
            case Kind::Assign: {
                LineCache& target = *step->target;
                if (target.cells[0] == nullptr || !CompiledAndCurrent(*step->value)) {
                    cursor_ = step->line;
                    bailed = true;
                    return step->line;
                }
                cursor_ = step->valueLine + 1;
                StoreNumeric(target.cells, target.copyEpoch,
                             EvaluateCachedLine(*step->value, step->valueLine));
                ++step;
                break;
            }
            case Kind::If:
                if (!CompiledAndCurrent(*step->value)) {
                    cursor_ = step->line;
                    bailed = true;
                    return step->line;
                }
                cursor_ = step->valueLine + 1;
                step = EvaluateCachedLine(*step->value, step->valueLine) == 0 ? &steps[step->jump]
                                                                              : step + 1;
                break;
            case Kind::Jump:
                step = &steps[step->jump];
                break;
            case Kind::LoopEnd: {
                // What Next does for a counted loop.
                cursor_ = step->line + 1;
                LoopYield(false);
                if (stopRequest_) {
                    loops_.pop_back();
                    return step->line;
                }
                LoopRecord& record = loops_.back();
                const CountedStep counted = StepCounting(record);
                if (counted == CountedStep::Next) {
                    NextPass(record);
                } else if (counted == CountedStep::Ended) {
                    loops_.pop_back();
                    return step->line;
                } else if (!StepCountedLoop(record)) {
                    return step->line;
                }
                step = steps.data();
                break;
            }
        }
    }
}

}  // namespace engine
