// The command words of the program window's list with their argument hints, and
// the words the editor highlights.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

struct CommandHint {
    std::string word;
    std::string hint;  // may hold line breaks; empty for words without arguments
};

// The list, sorted by word.
const std::vector<CommandHint>& CommandList();
// The hint of a listed word; empty when it has none or is not listed.
std::string HintOf(std::string_view word);
// Listed words and the control words that the list leaves out (als, eind, ...).
bool IsCommandWord(std::string_view word);
// Keys of program setting lines (xmin=..., assen=...), without regard to case.
bool IsSettingKey(std::string_view key);
// The command word a statement line starts with: the text before its "(" or the
// whole trimmed line; empty for comments, assignments and setting lines.
std::string CommandWordOf(std::string_view line);

}  // namespace app
