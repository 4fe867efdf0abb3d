// Loading the rule texts and adding rules at run time.
#include "rule_base.h"

#include <string>

#include "parsertyp.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \r");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

int RuleBase::BucketOf(const Knoten* node) {
    switch (node->kind()) {
        case Kind::Plus:
            return 0;
        case Kind::Minus:
            return 1;
        case Kind::Times:
            return 2;
        case Kind::Divide:
            return 3;
        case Kind::Power:
            return 4;
        case Kind::Comma:
            return 5;
        case Kind::Function:
        case Kind::Variable:
        case Kind::Pi:
        case Kind::Integer:
            return node->text().empty() ? 6 : (static_cast<unsigned char>(node->text()[0]) & 127);
        default:
            return 6;
    }
}

void RuleBase::Load(NodeManager& manager, std::string_view texts) {
    Parsertyp parser(manager, true);
    int lineNumber = 0;
    while (!texts.empty()) {
        const size_t end = texts.find('\n');
        const std::string line = Trim(texts.substr(0, end));
        texts = end == std::string_view::npos ? std::string_view() : texts.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.starts_with("//")) continue;
        const size_t arrow = line.find(" -> ");
        if (arrow == std::string::npos)
            throw ESymbolicError("rule line " + std::to_string(lineNumber) + ": no ->");
        const size_t condition = line.rfind(" if ");
        const bool hasCondition = condition != std::string::npos && condition > arrow;
        Rule rule;
        try {
            rule.pattern = parser.Parse(line.substr(0, arrow));
            rule.replacement = parser.Parse(
                line.substr(arrow + 4, hasCondition ? condition - arrow - 4 : std::string::npos));
            if (hasCondition) rule.condition = parser.Parse(line.substr(condition + 4));
        } catch (const ESymbolicError& error) {
            throw ESymbolicError("rule line " + std::to_string(lineNumber) + ": " + error.what());
        }
        buckets_[static_cast<size_t>(BucketOf(rule.pattern.get()))].push_back(std::move(rule));
    }
}

bool RuleBase::AddMacro(const NodeRef& pattern, const NodeRef& replacement) {
    auto& bucket = buckets_[static_cast<size_t>(BucketOf(pattern.get()))];
    for (const Rule& rule : bucket) {
        if (rule.pattern->kind() == Kind::Function &&
            SameName(rule.pattern->text(), pattern->text()))
            return false;
    }
    bucket.push_back(Rule{pattern, replacement, {}, true});
    return true;
}

size_t RuleBase::RuleCount() const {
    size_t count = 0;
    for (const auto& bucket : buckets_) count += bucket.size();
    return count;
}

}  // namespace symbolic
