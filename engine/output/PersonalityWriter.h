// The personality's lines, in the format that common/PersonalityFormat.h spells for the
// engine and the exporter alike. The lines are collected in memory and reach the file only
// when the run has completed.
#pragma once

#include <string>
#include <vector>

#include "common/PersonalityFormat.h"

class PersonalityWriter {
public:
    explicit PersonalityWriter(bool isC) : IsC(isC) {}

    // Line texts, for phases that collect and sort their lines before handing them over.
    std::string Define(const std::string& define) const;        // D NAME=VALUE
    std::string QuotedDefine(const std::string& define) const;  // D "NAME=VALUE"
    static std::string Extension(const std::string& spec);      // -ex SPEC

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

private:
    bool IsC;
    std::vector<std::string> Written;
};
