// Splits request and rule text into tokens; blanks and comments are skipped.
#pragma once

#include <string>
#include <string_view>

namespace symbolic {

// Token codes; operator tokens share their code with the node kind they build.
enum class Token : int {
    End = 0,
    Comma = 2,
    Semicolon = 5,
    Dot = 6,
    Colon = 7,
    Quote = 8,
    Other = 9,
    Open = 10,
    Close = 11,
    Dollar = 12,
    Hash = 13,
    OpenList = 14,
    CloseList = 15,
    Backslash = 16,
    OpenBrace = 17,
    CloseBrace = 18,
    Newline = 19,
    Equal = 20,
    Greater = 21,
    Less = 22,
    Identifier = 24,
    Integer = 26,
    Times = 31,
    Divide = 32,
    Plus = 33,
    Minus = 34,
    Power = 37,
};

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) { Next(); }

    Token token() const { return token_; }
    const std::string& text() const { return tokenText_; }
    // Reads the next token into token() and text().
    void Next();

private:
    void SkipBlanksAndComments();

    std::string_view text_;
    size_t position_ = 0;
    Token token_ = Token::End;
    std::string tokenText_;
};

}  // namespace symbolic
