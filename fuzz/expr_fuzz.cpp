// Expressions: compile any text, and evaluate what compiles at a few x values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expr/function_library.h"
#include "expr/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static expr::TParser* parser = [] {
        static expr::TParser p;
        static expr::FunctionContext context;
        expr::RegisterExtraFunctions(p, 1, context);
        return &p;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        parser->SetExpression(text);
        for (const long double x : {-2.5L, 0.0L, 1.0L, 1e300L}) {
            parser->X() = x;
            try {
                (void)parser->Value();
            } catch (const expr::EMathError&) {
            }
        }
    } catch (const expr::EMathParserError&) {
    }
    return 0;
}
