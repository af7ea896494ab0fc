// One source that tests many items at once, and the map back from the compiler's messages
// to the items: every item stands on lines of its own, and a message about one of its lines
// is about that item. Lines that belong to no item (the prelude, separators) are shared.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/phases/batch/Diagnostics.h"

// A line to put after an item: the definition of a function of its own (declared first, so
// that no compiler warns about a missing prototype), which only compiles at file level,
// where a well-formed item leaves the compiler. An error that runs on past its item, or an
// item that leaves a block or a declaration open, shows on it.
std::string BatchSeparator(std::size_t id);

class BatchSource {
public:
    // fileName: the name the source is compiled under, which the messages name.
    explicit BatchSource(std::string fileName);

    void AddShared(const std::string& text);
    void AddItem(std::size_t item, const std::string& text);
    // Lines from here on count as lines of a file of this name (a #line directive), keeping
    // the numbers they have in the source: the compiler's messages about them name that file.
    void StartFile(const std::string& name);

    const std::string& FileName() const { return File; }
    const std::string& Text() const { return Source; }

    struct Owner {
        enum Kind { Item, Shared, Foreign } What = Foreign;  // Foreign: a place outside this source
        std::size_t Index = 0;                               // the item, for Item
        std::optional<std::size_t> After;                    // for Shared: the item right before the line
        std::string File;                                    // the file the line counts in
    };
    // What a diagnostic is about; one without a location is Foreign.
    Owner OwnerOf(const Diagnostic& diagnostic) const;

private:
    void Append(const std::string& text, std::optional<std::size_t> item);

    struct Span {
        long First;
        long Last;
        std::optional<std::size_t> Item;
        std::optional<std::size_t> After;  // the item added last before a shared text
    };
    std::string File;
    std::string Source;
    std::string Current;  // the file the next line belongs to
    long NextLine = 1;    // the next line's number, in the source and in its file
    std::optional<std::size_t> LastItem;
    std::map<std::string, std::vector<Span>> Spans;
};
