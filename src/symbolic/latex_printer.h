// The LaTeX layout of a tree.
#pragma once

#include <string>

#include "knoten.h"

namespace symbolic {

class LatexPrinter {
public:
    static std::string Print(const Knoten* node);

private:
    static void Print(const Knoten* node, bool parentheses, std::string& out);
};

}  // namespace symbolic
