// One request: parse, optionally add a rule, rewrite, print, and decide the answer's sign.
#include "s_interpreter.h"

#include "latex_printer.h"
#include "normaliser.h"
#include "parsertyp.h"
#include "plain_printer.h"
#include "pretty_printer.h"
#include "rule_texts.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

bool IsApplication(const Knoten* node, const char* name) {
    return node->kind() == Kind::Function && SameName(node->text(), name);
}

bool HasOneArgument(const Knoten* node) {
    return node->right() != nullptr && node->right()->kind() != Kind::Comma;
}

}  // namespace

s_interpreter::s_interpreter() {
    for (const std::string_view texts : RuleTexts()) rules_.Load(manager_, texts);
}

s_interpreter::Answer s_interpreter::AddMacro(const std::string& request) {
    Parsertyp parser(manager_, true);
    NodeRef root = parser.Parse(request);
    const Knoten* arguments = root->right();
    NodeRef pattern = arguments->leftRef();
    NodeRef replacement = arguments->rightRef();
    if (!rules_.AddMacro(pattern, replacement)) return {"Macro has not been inserted", false};
    manager_.ForgetNormalForms();
    return {"Macro inserted !", true};
}

s_interpreter::Answer s_interpreter::Calculate(const std::string& request) {
    NodeRef root;
    try {
        Parsertyp parser(manager_, false);
        root = parser.Parse(request);
    } catch (const ESymbolicError& error) {
        return {error.what(), false};
    }
    const Knoten* arguments = root->right();
    if (IsApplication(root.get(), "_ADD_MACRO") && arguments != nullptr &&
        arguments->kind() == Kind::Comma && arguments->left()->kind() != Kind::Comma &&
        arguments->left()->kind() == Kind::Function)
        return AddMacro(request);

    Normaliser normaliser(manager_, rules_);
    NodeRef result = normaliser.Normalise(root);
    std::string text;
    if (IsApplication(result.get(), "LATEX") && HasOneArgument(result.get())) {
        text = LatexPrinter::Print(result->right());
    } else if (IsApplication(result.get(), "PRETTY") && HasOneArgument(result.get())) {
        text = PrettyPrinter::Print(result->right());
    } else {
        text = PlainPrinter::Print(result.get());
    }
    const bool failed = text.find("__singularity__(") != std::string::npos ||
                        text.find("not_implemented") != std::string::npos;
    return {text, !failed};
}

}  // namespace symbolic
