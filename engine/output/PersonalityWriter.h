// The personality's line vocabulary: every prefix and quoting rule of the file is spelled
// here and nowhere else. The phases hand over what they found; the lines are collected in
// memory and reach the file only when the run has completed.
#pragma once

#include <string>
#include <vector>

class PersonalityWriter {
public:
    explicit PersonalityWriter(bool isC) : IsC(isC) {}

    // Line texts, for phases that collect and sort their lines before writing them.
    std::string Define(const std::string& define) const;        // D NAME=VALUE
    std::string QuotedDefine(const std::string& define) const;  // D "NAME=VALUE"
    static std::string Extension(const std::string& spec);      // -ex SPEC
    // A value in double quotes; a quote inside it, and a backslash that would be taken for an
    // escape, are written with a backslash before them.
    static std::string Quote(const std::string& value);

    // Lines, appended in call order.
    void SubstituteDir(const std::string& dir);           // -i, -q
    void IncludeDir(const std::string& dir);              // -i or -si, then -q
    void Size(const std::string& type, int bits);         // -s
    void Align(const std::string& type, int bytes);       // -a
    void PlainCharUnsigned(bool isUnsigned);              // -u+ / -u-
    void IntrinsicType(const std::string& name, bool isUnsigned, const std::string& base);  // -it
    void IdentifierLength(bool external, int length);     // -xn / -na
    void ForceInclude(const std::string& dir, const std::string& file);  // -q, -fi
    // A line formatted by the caller (with the texts above) or taken from a test suite.
    void Line(const std::string& line);

    const std::vector<std::string>& Lines() const { return Written; }
    std::vector<std::string>& Lines() { return Written; }
    // The file's content: every line ended by a newline.
    std::string Text() const;
    const char* DefineOption() const { return IsC ? "-d " : "-sd "; }

private:
    bool IsC;
    std::vector<std::string> Written;
};
