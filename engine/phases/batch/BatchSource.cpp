#include "engine/phases/batch/BatchSource.h"

#include <algorithm>

std::string BatchSeparator(std::size_t id)
{
    const std::string name = "kxsep" + std::to_string(id);
    return "int " + name + "(void);\nextern int " + name + "(void) { return 0; }\n";
}

BatchSource::BatchSource(std::string fileName) : File(std::move(fileName)), Current(File)
{
}

void BatchSource::AddShared(const std::string& text)
{
    Append(text, std::nullopt);
}

void BatchSource::AddItem(std::size_t item, const std::string& text)
{
    Append(text, item);
}

void BatchSource::StartFile(const std::string& name)
{
    // The directive keeps each line's number as it is in the source: a compiler that ignores
    // the directive (or its file name) still names the same line.
    AddShared("#line " + std::to_string(NextLine + 1) + " \"" + name + "\"\n");
    Current = name;
}

void BatchSource::Append(const std::string& text, std::optional<std::size_t> item)
{
    if (text.empty())
        return;
    Source += text;
    // A text without its last line end would join the next text's first line.
    if (text.back() != '\n')
        Source += '\n';
    const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + (text.back() != '\n' ? 1 : 0);
    Spans[Current].push_back({NextLine, NextLine + lines - 1, item, item ? std::nullopt : LastItem});
    NextLine += lines;
    if (item)
        LastItem = item;
}

BatchSource::Owner BatchSource::OwnerOf(const Diagnostic& diagnostic) const
{
    if (diagnostic.File.empty())
        return {};
    auto lookIn = [&](const std::string& name, const std::vector<Span>& spans) -> std::optional<Owner> {
        for (const Span& span : spans) {
            if (diagnostic.Line < span.First || diagnostic.Line > span.Last)
                continue;
            if (span.Item)
                return Owner{Owner::Item, *span.Item, std::nullopt, name};
            return Owner{Owner::Shared, 0, span.After, name};
        }
        return std::nullopt;
    };
    const auto file = Spans.find(diagnostic.File);
    if (file != Spans.end()) {
        if (std::optional<Owner> owner = lookIn(file->first, file->second))
            return *owner;
    }
    // The source's own name: a compiler that ignores the #line directives names the lines of
    // every file under it, by the numbers they have there too.
    if (diagnostic.File == File) {
        for (const auto& [name, spans] : Spans)
            if (std::optional<Owner> owner = lookIn(name, spans))
                return *owner;
    } else if (file == Spans.end()) {
        return {};
    }
    // A line the source does not have (the end of the input, line 0): no item's.
    return {Owner::Shared, 0, std::nullopt, {}};
}
