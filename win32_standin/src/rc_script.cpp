#include "rc_script.h"

#include "rc_lexer.h"
#include "styles.h"

#include <algorithm>
#include <cctype>

namespace standin {

namespace {

constexpr int MAX_DEFINE_DEPTH = 16;
constexpr DWORD DEFAULT_DIALOG_STYLE = 0x80880000; // WS_POPUP | WS_BORDER | WS_SYSMENU
constexpr DWORD CAPTION_STYLE = 0x00C00000;        // WS_CAPTION

const char* const CONTROL_CLASSES[] = {"BUTTON", "EDIT", "STATIC", "COMBOBOX"};
const char* const MEMORY_OPTIONS[] = {"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                      "IMPURE",      "PRELOAD",  "LOADONCALL"};
const char* const SINGLE_LINE_STATEMENTS[] = {"LANGUAGE", "VERSION", "CHARACTERISTICS"};

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

template <std::size_t N> bool OneOf(const std::string& word, const char* const (&words)[N]) {
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char* candidate) { return word == candidate; });
}

std::string Describe(const Token& token) {
    return token.kind == TokenKind::String ? "\"" + token.text + "\"" : "'" + token.text + "'";
}

// Reads tokens of the script, or of one #define's value, with the script's #defines at hand.
class Reader {
  public:
    Reader(const std::vector<Token>& tokens, const ScriptTokens& script, int depth)
        : tokens_(tokens), script_(script), depth_(depth) {}

    bool AtEnd() const { return next_ >= tokens_.size(); }
    const Token* Peek() const { return AtEnd() ? nullptr : &tokens_[next_]; }
    const Token& Take() { return tokens_[next_++]; }
    const std::string& Error() const { return error_; }

    bool PeekIs(const char* text) const {
        const Token* token = Peek();
        return token != nullptr && token->kind != TokenKind::String && Upper(token->text) == text;
    }
    bool PeekIsBegin() const { return PeekIs("BEGIN") || PeekIs("{"); }
    bool PeekIsEnd() const { return PeekIs("END") || PeekIs("}"); }

    bool Fail(int line, const std::string& why) {
        if (error_.empty()) {
            error_ = script_.path + ":" + std::to_string(line) + ": " + why;
        }
        return false;
    }
    bool FailHere(const std::string& why) {
        if (AtEnd()) {
            const int line = tokens_.empty() ? 1 : tokens_.back().line;
            return Fail(line, why + ", found the end of the file");
        }
        return Fail(Peek()->line, why + ", found " + Describe(*Peek()));
    }

    bool Expect(const char* punct, const char* after) {
        if (!PeekIs(punct)) {
            return FailHere(std::string("expected '") + punct + "' after " + after);
        }
        Take();
        return true;
    }

    // "A | B | NOT C": each term sets its bits in start, a NOT term clears them, left to right,
    // as the resource compiler treats styles. Ids and coordinates start from 0.
    bool Value(std::int64_t start, std::int64_t& value) {
        value = start;
        for (;;) {
            std::int64_t term = 0;
            if (PeekIs("NOT")) {
                Take();
                if (!Sum(term)) {
                    return false;
                }
                value &= ~term;
            } else {
                if (!Sum(term)) {
                    return false;
                }
                value |= term;
            }
            if (!PeekIs("|")) {
                return true;
            }
            Take();
        }
    }

    // The value of a name from the script's #defines or the system's style names.
    bool Resolve(const Token& name, std::int64_t& value) {
        const auto define = script_.defines.find(name.text);
        if (define != script_.defines.end()) {
            if (depth_ >= MAX_DEFINE_DEPTH) {
                return Fail(name.line, "'" + name.text + "' is defined in terms of itself");
            }
            Reader inner(define->second, script_, depth_ + 1);
            if (define->second.empty()) {
                return Fail(name.line, "'" + name.text + "' is defined without a value");
            }
            if (!inner.Value(0, value) || !inner.AtEnd()) {
                return Fail(name.line, "the value of '" + name.text + "' is not understood" +
                                           (inner.Error().empty() ? "" : ": " + inner.Error()));
            }
            return true;
        }
        if (const std::optional<DWORD> style = StyleByName(name.text)) {
            value = static_cast<std::int32_t>(*style);
            return true;
        }
        return Fail(name.line, "unknown name '" + name.text + "'");
    }

    bool Text(std::string& text, const char* what) {
        if (AtEnd() || Peek()->kind != TokenKind::String) {
            return FailHere(std::string("expected ") + what + " in double quotes");
        }
        text = Take().text;
        return true;
    }

    // A resource's name: a number, a #defined name, or a name kept as text.
    bool Name(ResourceName& name) {
        const Token& token = Take();
        if (token.kind == TokenKind::Name && script_.defines.count(token.text) == 0) {
            name = ResourceName{false, 0, Upper(token.text)};
            return true;
        }
        if (token.kind == TokenKind::String) {
            name = ResourceName{false, 0, Upper(token.text)};
            return true;
        }
        --next_;
        std::int64_t id = 0;
        if (!Value(0, id)) {
            return false;
        }
        name = ResourceName{true, static_cast<WORD>(id), ""};
        return true;
    }

  private:
    bool Sum(std::int64_t& value) {
        if (!Unary(value)) {
            return false;
        }
        while (PeekIs("+") || PeekIs("-")) {
            const bool minus = Take().text == "-";
            std::int64_t term = 0;
            if (!Unary(term)) {
                return false;
            }
            value = minus ? value - term : value + term;
        }
        return true;
    }

    bool Unary(std::int64_t& value) {
        if (AtEnd()) {
            return FailHere("expected a number or a name");
        }
        const Token& token = Take();
        if (token.kind == TokenKind::Number) {
            value = token.number;
            return true;
        }
        if (token.kind == TokenKind::Name && Upper(token.text) != "NOT") {
            return Resolve(token, value);
        }
        if (token.text == "-" || token.text == "~") {
            if (!Unary(value)) {
                return false;
            }
            value = token.text == "-" ? -value : ~value;
            return true;
        }
        if (token.text == "(") {
            return Value(0, value) && Expect(")", "a value in parentheses");
        }
        --next_;
        return FailHere("expected a number or a name");
    }

    const std::vector<Token>& tokens_;
    const ScriptTokens& script_;
    int depth_;
    std::size_t next_ = 0;
    std::string error_;
};

int Coordinate(std::int64_t value) {
    return static_cast<std::int16_t>(value);
}

bool ReadRectangle(Reader& reader, const char* what, int (&numbers)[4]) {
    static const char* const names[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        std::int64_t value = 0;
        if (i > 0 && !reader.Expect(",", (std::string(what) + "'s " + names[i - 1]).c_str())) {
            return false;
        }
        if (!reader.Value(0, value)) {
            return false;
        }
        numbers[i] = Coordinate(value);
    }
    return true;
}

// CONTROL "text", id, class, style, x, y, cx, cy[, exstyle]
bool ReadControl(Reader& reader, ControlTemplate& control) {
    std::int64_t value = 0;
    if (!reader.Text(control.text, "the control's text") || !reader.Expect(",", "the text") ||
        !reader.Value(0, value) || !reader.Expect(",", "the control's id")) {
        return false;
    }
    control.id = static_cast<WORD>(value);
    if (reader.AtEnd() || reader.Peek()->kind == TokenKind::Punct) {
        return reader.FailHere("expected the control's class");
    }
    const Token& classToken = reader.Take();
    control.className = Upper(classToken.text);
    if (!OneOf(control.className, CONTROL_CLASSES)) {
        return reader.Fail(classToken.line, "class " + Describe(classToken) +
                                                " is none of BUTTON, EDIT, STATIC, COMBOBOX");
    }
    if (!reader.Expect(",", "the control's class") ||
        !reader.Value(STYLE_WS_CHILD | STYLE_WS_VISIBLE, value) ||
        !reader.Expect(",", "the control's style")) {
        return false;
    }
    control.style = static_cast<DWORD>(value);
    int rectangle[4] = {};
    if (!ReadRectangle(reader, "the control", rectangle)) {
        return false;
    }
    control.x = rectangle[0];
    control.y = rectangle[1];
    control.cx = rectangle[2];
    control.cy = rectangle[3];
    control.exStyle = 0;
    if (reader.PeekIs(",")) {
        reader.Take();
        if (!reader.Value(0, value)) {
            return false;
        }
        control.exStyle = static_cast<DWORD>(value);
    }
    return true;
}

bool SkipLine(Reader& reader, int line) {
    while (!reader.AtEnd() && reader.Peek()->line == line) {
        reader.Take();
    }
    return true;
}

bool ReadDialogOption(Reader& reader, DialogTemplate& dialog) {
    const Token& option = reader.Take();
    const std::string word = Upper(option.text);
    std::int64_t value = 0;
    std::string text;
    if (word == "STYLE") {
        if (!reader.Value(0, value)) {
            return false;
        }
        dialog.style = static_cast<DWORD>(value) | (dialog.caption.empty() ? 0 : CAPTION_STYLE);
        return true;
    }
    if (word == "EXSTYLE") {
        if (!reader.Value(0, value)) {
            return false;
        }
        dialog.exStyle = static_cast<DWORD>(value);
        return true;
    }
    if (word == "CAPTION") {
        if (!reader.Text(dialog.caption, "the caption")) {
            return false;
        }
        dialog.style |= CAPTION_STYLE;
        return true;
    }
    if (word == "FONT") {
        return reader.Value(0, value) && reader.Expect(",", "the font size") &&
               reader.Text(text, "the font's face name") && SkipLine(reader, option.line);
    }
    if (word == "MENU" || word == "CLASS" || OneOf(word, SINGLE_LINE_STATEMENTS)) {
        return SkipLine(reader, option.line);
    }
    return reader.Fail(option.line, Describe(option) +
                                        " is no DIALOG option (STYLE, EXSTYLE, CAPTION, FONT, "
                                        "MENU, CLASS, LANGUAGE, CHARACTERISTICS, VERSION)");
}

// name DIALOG x, y, cx, cy / options / BEGIN controls END
bool ReadDialog(Reader& reader, bool extended, DialogTemplate& dialog) {
    dialog = DialogTemplate{DEFAULT_DIALOG_STYLE, 0, "", 0, 0, 0, 0, {}};
    while (!reader.AtEnd() && reader.Peek()->kind == TokenKind::Name &&
           OneOf(Upper(reader.Peek()->text), MEMORY_OPTIONS)) {
        reader.Take();
    }
    int rectangle[4] = {};
    if (!ReadRectangle(reader, "the dialog", rectangle)) {
        return false;
    }
    dialog.x = rectangle[0];
    dialog.y = rectangle[1];
    dialog.cx = rectangle[2];
    dialog.cy = rectangle[3];
    if (extended && reader.PeekIs(",")) {
        std::int64_t helpId = 0;
        reader.Take();
        if (!reader.Value(0, helpId)) {
            return false;
        }
    }
    while (!reader.PeekIsBegin()) {
        if (reader.AtEnd()) {
            return reader.FailHere("expected BEGIN of the DIALOG");
        }
        if (!ReadDialogOption(reader, dialog)) {
            return false;
        }
    }
    reader.Take();
    while (!reader.PeekIsEnd()) {
        if (reader.AtEnd()) {
            return reader.FailHere("expected END of the DIALOG");
        }
        const Token& statement = reader.Take();
        if (statement.kind != TokenKind::Name || Upper(statement.text) != "CONTROL") {
            return reader.Fail(statement.line,
                               Describe(statement) +
                                   " inside the DIALOG is not understood: write each control as "
                                   "CONTROL \"text\", id, class, style, x, y, cx, cy[, exstyle]");
        }
        ControlTemplate control;
        if (!ReadControl(reader, control)) {
            return false;
        }
        dialog.controls.push_back(control);
    }
    reader.Take();
    return true;
}

// Past a resource that is not a dialog: to the end of its BEGIN ... END block.
bool SkipBlock(Reader& reader, int line, const std::string& what) {
    while (!reader.PeekIsBegin()) {
        if (reader.AtEnd()) {
            return reader.Fail(line, "cannot find where " + what + " ends: no BEGIN follows");
        }
        reader.Take();
    }
    int depth = 0;
    do {
        if (reader.AtEnd()) {
            return reader.Fail(line, what + " has no END");
        }
        depth += reader.PeekIsBegin() ? 1 : reader.PeekIsEnd() ? -1 : 0;
        reader.Take();
    } while (depth > 0);
    return true;
}

bool ReadStatement(Reader& reader, std::vector<ScriptResource>& out) {
    const Token& first = *reader.Peek();
    const std::string word = Upper(first.text);
    if (first.kind == TokenKind::Name && OneOf(word, SINGLE_LINE_STATEMENTS)) {
        return SkipLine(reader, first.line);
    }
    if (first.kind == TokenKind::Name && word == "STRINGTABLE") {
        return SkipBlock(reader, first.line, "STRINGTABLE");
    }
    ScriptResource resource;
    if (!reader.Name(resource.name)) {
        return false;
    }
    if (reader.AtEnd() || reader.Peek()->kind == TokenKind::String ||
        reader.Peek()->kind == TokenKind::Punct) {
        return reader.FailHere("expected the type of resource " +
                               DescribeResourceName(resource.name));
    }
    const Token& type = reader.Take();
    resource.type = type.kind == TokenKind::Number ? "#" + type.text : Upper(type.text);
    if (resource.type == "DIALOG" || resource.type == "DIALOGEX") {
        DialogTemplate dialog;
        if (!ReadDialog(reader, resource.type == "DIALOGEX", dialog)) {
            return false;
        }
        resource.dialog = dialog;
    } else {
        // A resource kept in a file of its own names the file last on its line; any other
        // resource carries a block.
        const Token* last = nullptr;
        while (!reader.AtEnd() && reader.Peek()->line == type.line) {
            last = &reader.Take();
        }
        if (last == nullptr || last->kind != TokenKind::String) {
            if (!SkipBlock(reader, type.line, DescribeResourceName(resource.name))) {
                return false;
            }
        }
    }
    out.push_back(resource);
    return true;
}

} // namespace

ResourceName ResourceNameFromArgument(LPCSTR name) {
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (value <= 0xFFFF) {
        return ResourceName{true, static_cast<WORD>(value), ""};
    }
    return ResourceName{false, 0, Upper(name)};
}

bool SameResourceName(const ResourceName& a, const ResourceName& b) {
    return a.numeric == b.numeric && (a.numeric ? a.id == b.id : a.text == b.text);
}

std::string DescribeResourceName(const ResourceName& name) {
    return name.numeric ? std::to_string(name.id) : "\"" + name.text + "\"";
}

std::string ReadResourceScript(const std::string& path, std::vector<ScriptResource>& out) {
    out.clear();
    ScriptTokens script;
    std::string error = LexResourceScript(path, script);
    if (!error.empty()) {
        return error;
    }
    Reader reader(script.tokens, script, 0);
    while (!reader.AtEnd()) {
        if (!ReadStatement(reader, out)) {
            return reader.Error();
        }
    }
    return "";
}

} // namespace standin
