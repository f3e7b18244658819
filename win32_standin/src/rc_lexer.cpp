#include "rc_lexer.h"

#include "code_page.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace standin {

namespace {

constexpr int MAX_INCLUDE_DEPTH = 8;

struct Cursor {
    const std::string& text;
    std::size_t pos;
    int line;
    UINT codePage;
};

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

char At(const Cursor& cursor, std::size_t offset) {
    const std::size_t pos = cursor.pos + offset;
    return pos < cursor.text.size() ? cursor.text[pos] : '\0';
}

std::string Where(const std::string& path, int line) {
    return path + ":" + std::to_string(line) + ": ";
}

std::string ScanString(Cursor& cursor, const std::string& path, Token& token) {
    token.kind = TokenKind::String;
    ++cursor.pos; // the opening quote
    for (;;) {
        const char c = At(cursor, 0);
        if (cursor.pos >= cursor.text.size() || c == '\n') {
            return Where(path, token.line) + "string not closed on its line";
        }
        if (IsLeadByteIn(cursor.codePage, static_cast<BYTE>(c)) && At(cursor, 1) != '\n' &&
            cursor.pos + 1 < cursor.text.size()) {
            token.text += c;
            token.text += At(cursor, 1);
            cursor.pos += 2;
        } else if (c == '"' && At(cursor, 1) == '"') {
            token.text += '"';
            cursor.pos += 2;
        } else if (c == '"') {
            ++cursor.pos;
            return "";
        } else if (c == '\\' && cursor.pos + 1 < cursor.text.size()) {
            const char escaped = At(cursor, 1);
            switch (escaped) {
            case 'n':
                token.text += '\n';
                break;
            case 'r':
                token.text += '\r';
                break;
            case 't':
                token.text += '\t';
                break;
            case 'a':
                token.text += '\a';
                break;
            case '\\':
            case '"':
                token.text += escaped;
                break;
            default:
                token.text += '\\';
                token.text += escaped;
                break;
            }
            cursor.pos += 2;
        } else {
            token.text += c;
            ++cursor.pos;
        }
    }
}

std::string ScanNumber(Cursor& cursor, const std::string& path, Token& token) {
    token.kind = TokenKind::Number;
    int base = 10;
    if (At(cursor, 0) == '0' && (At(cursor, 1) == 'x' || At(cursor, 1) == 'X')) {
        base = 16;
        cursor.pos += 2;
    }
    std::uint64_t value = 0;
    bool anyDigit = false;
    for (;;) {
        const char c = At(cursor, 0);
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        }
        if (digit < 0) {
            break;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return Where(path, token.line) + "number does not fit 32 bits";
        }
        anyDigit = true;
        token.text += c;
        ++cursor.pos;
    }
    while (At(cursor, 0) == 'L' || At(cursor, 0) == 'l' || At(cursor, 0) == 'U' ||
           At(cursor, 0) == 'u') {
        ++cursor.pos;
    }
    if (!anyDigit || IsNameChar(At(cursor, 0))) {
        return Where(path, token.line) + "malformed number";
    }
    token.number = static_cast<std::int64_t>(value);
    return "";
}

// One token at the cursor, which stands on neither blank nor comment.
std::string ScanToken(Cursor& cursor, const std::string& path, Token& token) {
    token = Token{TokenKind::Punct, "", 0, cursor.line};
    const char c = At(cursor, 0);
    if (c == '"' || (c == 'L' && At(cursor, 1) == '"')) {
        cursor.pos += c == 'L' ? 1 : 0;
        return ScanString(cursor, path, token);
    }
    if (c >= '0' && c <= '9') {
        return ScanNumber(cursor, path, token);
    }
    if (IsNameStart(c)) {
        token.kind = TokenKind::Name;
        while (IsNameChar(At(cursor, 0))) {
            token.text += At(cursor, 0);
            ++cursor.pos;
        }
        return "";
    }
    token.text = std::string(1, c);
    ++cursor.pos;
    return "";
}

// Blanks and comments; stops at a line end when the caller reads one line only.
std::string SkipBlanks(Cursor& cursor, const std::string& path, bool stopAtLineEnd) {
    while (cursor.pos < cursor.text.size()) {
        const char c = At(cursor, 0);
        if (c == '\n') {
            if (stopAtLineEnd) {
                return "";
            }
            ++cursor.line;
            ++cursor.pos;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++cursor.pos;
        } else if (c == '/' && At(cursor, 1) == '/') {
            while (cursor.pos < cursor.text.size() && At(cursor, 0) != '\n') {
                ++cursor.pos;
            }
        } else if (c == '/' && At(cursor, 1) == '*') {
            const int startLine = cursor.line;
            cursor.pos += 2;
            while (cursor.pos < cursor.text.size() &&
                   !(At(cursor, 0) == '*' && At(cursor, 1) == '/')) {
                cursor.line += At(cursor, 0) == '\n' ? 1 : 0;
                ++cursor.pos;
            }
            if (cursor.pos >= cursor.text.size()) {
                return Where(path, startLine) + "comment not closed";
            }
            cursor.pos += 2;
        } else {
            return "";
        }
    }
    return "";
}

void SkipRestOfLine(Cursor& cursor) {
    while (cursor.pos < cursor.text.size() && At(cursor, 0) != '\n') {
        ++cursor.pos;
    }
}

std::string LexFile(const std::string& path, bool definesOnly, int depth, ScriptTokens& out);

std::string HandleDirective(Cursor& cursor, const std::string& path, int depth, ScriptTokens& out) {
    ++cursor.pos; // '#'
    std::vector<Token> words;
    for (;;) {
        std::string error = SkipBlanks(cursor, path, true);
        if (!error.empty()) {
            return error;
        }
        if (cursor.pos >= cursor.text.size() || At(cursor, 0) == '\n') {
            break;
        }
        Token token;
        error = ScanToken(cursor, path, token);
        if (!error.empty()) {
            return error;
        }
        words.push_back(token);
        if (words.size() == 2 && words[0].text == "define" && At(cursor, 0) == '(') {
            SkipRestOfLine(cursor); // a function-like macro: no resource script needs one
            return "";
        }
    }
    if (words.empty() || words[0].kind != TokenKind::Name) {
        return "";
    }
    const std::string& directive = words[0].text;
    if (directive == "define" && words.size() >= 2 && words[1].kind == TokenKind::Name) {
        out.defines[words[1].text] = std::vector<Token>(words.begin() + 2, words.end());
    } else if (directive == "include" && words.size() == 2 && words[1].kind == TokenKind::String) {
        const std::filesystem::path included =
            std::filesystem::path(path).parent_path() / words[1].text;
        return LexFile(included.string(), true, depth + 1, out);
    } else if (directive == "pragma" && words.size() == 5 && words[1].text == "code_page" &&
               words[3].kind == TokenKind::Number) {
        cursor.codePage = static_cast<UINT>(words[3].number);
    }
    // Everything else (conditionals among them) changes nothing a dialog template needs.
    return "";
}

std::string LexFile(const std::string& path, bool definesOnly, int depth, ScriptTokens& out) {
    if (depth > MAX_INCLUDE_DEPTH) {
        return path + ": includes nested deeper than " + std::to_string(MAX_INCLUDE_DEPTH);
    }
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return path + ": cannot read the file";
    }
    Cursor cursor{text, 0, 1, 0};
    bool lineStart = true;
    for (;;) {
        const int lineBefore = cursor.line;
        std::string error = SkipBlanks(cursor, path, false);
        if (!error.empty()) {
            return error;
        }
        if (cursor.pos >= text.size()) {
            return "";
        }
        lineStart = lineStart || cursor.line != lineBefore;
        if (lineStart && At(cursor, 0) == '#') {
            error = HandleDirective(cursor, path, depth, out);
            if (!error.empty()) {
                return error;
            }
            continue;
        }
        lineStart = false;
        if (definesOnly) {
            SkipRestOfLine(cursor); // the resource compiler reads only directives from headers
            continue;
        }
        Token token;
        error = ScanToken(cursor, path, token);
        if (!error.empty()) {
            return error;
        }
        out.tokens.push_back(token);
    }
}

} // namespace

std::string LexResourceScript(const std::string& path, ScriptTokens& out) {
    out = ScriptTokens{path, {}, {}};
    return LexFile(path, false, 0, out);
}

} // namespace standin
