// Writing a personality's text into files that other tools parse. A personality is only
// text from a file: a value may hold any byte, and each exported syntax has characters that
// would end a token, a line or a comment early and hand the rest to the tool as its own
// input. Every value passes through here on its way out; what a syntax cannot carry is
// refused with ExportError rather than written in a form the tool reads differently.
#pragma once

#include <string>

namespace kxexport {

// Where a value goes, for the message that refuses it: the exported file's name, the
// personality it comes from, and what the value is ("the value of the macro A").
struct ExportPlace {
    std::string File;
    std::string PersonalityPath;
    std::string What;
};

// Throws when the text holds a control character other than a tab (a line end, a NUL, a
// carriage return, which ends a line for a compiler as well), or, with utf8, bytes that are
// not UTF-8.
void RefuseControlCharacters(const std::string& text, const ExportPlace& place, bool tabAllowed = true);
void RefuseNonUtf8(const std::string& text, const ExportPlace& place);

// The text with every byte a reader might take for more than a visible character (control
// characters, bytes that are not UTF-8, characters XML or YAML do not allow) written as \xNN
// or \uNNNN: for comments, which only inform.
std::string VisibleText(const std::string& text);

// One argument as clang's response files (@file) read it: the argument itself when no
// character of it is special there, else in double quotes with quotes and backslashes
// escaped. Refuses control characters and an argument that starts with "@", which clang
// would open as a further response file.
std::string ResponseFileWord(const std::string& argument, const ExportPlace& place);

// A YAML double-quoted scalar holding the text exactly; refuses text that is not UTF-8.
std::string YamlQuoted(const std::string& text, const ExportPlace& place);

// Text for an XML attribute value; refuses control characters other than a tab and text
// that is not UTF-8.
std::string XmlAttributeText(const std::string& text, const ExportPlace& place);

// How a line of C text ends for the preprocessor, read as a compiler lexes it: whether a
// block comment opened in it is still open at its end, whether a line comment runs to its
// end, and whether a backslash (or its trigraph) at its end would join the next line.
struct CLineEnd {
    bool OpenComment = false;
    bool LineComment = false;
    bool Splices = false;
};
CLineEnd ScanCLine(const std::string& line);

}  // namespace kxexport
