// The plain-text layout: the form the host reads back into its own expression parser.
#pragma once

#include <string>

#include "knoten.h"

namespace symbolic {

class PlainPrinter {
public:
    static std::string Print(const Knoten* node);
    // The operator symbol of an operator kind.
    static const char* Symbol(Kind kind);

private:
    static void Print(const Knoten* node, Kind parent, bool isRight, std::string& out);
};

}  // namespace symbolic
