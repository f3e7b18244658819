// The tokens of a resource script, after its preprocessor lines: the resource compiler's own
// reading, as far as a dialog template needs it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace standin {

enum class TokenKind { Name, Number, String, Punct };

struct Token {
    TokenKind kind;
    std::string text; // a string's bytes without quotes or escapes; a punctuation character
    std::int64_t number;
    int line;
};

struct ScriptTokens {
    std::string path;
    std::vector<Token> tokens;
    // From "#define NAME value" in the script and in the headers it includes with quotes.
    std::map<std::string, std::vector<Token>> defines;
};

// Empty text when done, otherwise "path:line: why". Headers included with quotes give their
// #defines only, as they do to the resource compiler; <...> includes are the system's and
// skipped. Strings are read in the code page of "#pragma code_page", so a trail byte that looks
// like a quote or backslash stays part of its character.
std::string LexResourceScript(const std::string& path, ScriptTokens& out);

} // namespace standin
