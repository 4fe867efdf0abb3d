// The tokenizer of the symbolic parser. Only the blank is white space: a tab or a line break
// is a token of its own, which the grammar then refuses.
#include "scanner.h"

namespace symbolic {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

Token SingleCharacter(char c) {
    switch (c) {
        case '\n':
            return Token::Newline;
        case '"':
            return Token::Quote;
        case '#':
            return Token::Hash;
        case '$':
            return Token::Dollar;
        case '(':
            return Token::Open;
        case ')':
            return Token::Close;
        case '*':
            return Token::Times;
        case '+':
            return Token::Plus;
        case ',':
            return Token::Comma;
        case '-':
            return Token::Minus;
        case '.':
            return Token::Dot;
        case '/':
            return Token::Divide;
        case ':':
            return Token::Colon;
        case ';':
            return Token::Semicolon;
        case '<':
            return Token::Less;
        case '=':
            return Token::Equal;
        case '>':
            return Token::Greater;
        case '[':
            return Token::OpenList;
        case '\\':
            return Token::Backslash;
        case ']':
            return Token::CloseList;
        case '^':
            return Token::Power;
        case '{':
            return Token::OpenBrace;
        case '}':
            return Token::CloseBrace;
        default:
            return Token::Other;
    }
}

}  // namespace

void Scanner::SkipBlanksAndComments() {
    while (position_ < text_.size()) {
        const char c = text_[position_];
        if (c == ' ') {
            ++position_;
        } else if (c == '/' && position_ + 1 < text_.size() && text_[position_ + 1] == '*') {
            const size_t end = text_.find("*/", position_ + 2);
            position_ = end == std::string_view::npos ? text_.size() : end + 2;
        } else if (c == '/' && position_ + 1 < text_.size() && text_[position_ + 1] == '/') {
            const size_t end = text_.find('\n', position_ + 2);
            position_ = end == std::string_view::npos ? text_.size() : end + 1;
        } else {
            return;
        }
    }
}

void Scanner::Next() {
    SkipBlanksAndComments();
    tokenText_.clear();
    if (position_ >= text_.size()) {
        token_ = Token::End;
        return;
    }
    const size_t start = position_;
    const char c = text_[position_];
    if (IsLetter(c)) {
        while (position_ < text_.size() &&
               (IsLetter(text_[position_]) || IsDigit(text_[position_])))
            ++position_;
        token_ = Token::Identifier;
    } else if (IsDigit(c)) {
        while (position_ < text_.size() && IsDigit(text_[position_])) ++position_;
        token_ = Token::Integer;
    } else {
        ++position_;
        token_ = SingleCharacter(c);
    }
    tokenText_.assign(text_.substr(start, position_ - start));
}

}  // namespace symbolic
