// UTF-8, the text encoding inside the program: characters to bytes and back.
#pragma once

#include <string>

namespace engine {

// Appends the UTF-8 bytes of one character.
void AppendUtf8(std::string& out, char32_t character);

// Characters of UTF-8 text; a broken sequence counts its bytes as characters.
std::u32string DecodeUtf8(const std::string& text);
std::string EncodeUtf8(const std::u32string& text);

}  // namespace engine
