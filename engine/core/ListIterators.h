// Input iterators over the list files: one line, or one key/value pair split at the first
// "=", per step. Each list is loaded by one range insertion of an iterator pair.
#pragma once

#include <cstddef>
#include <istream>
#include <iterator>
#include <string>
#include <utility>

class line_iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string*;
    using reference = const std::string&;

    line_iterator() = default;
    explicit line_iterator(std::istream& stream) : Stream(&stream) { read(); }

    reference operator*() const { return Line; }
    pointer operator->() const { return &Line; }
    line_iterator& operator++() { read(); return *this; }
    line_iterator operator++(int) { line_iterator old = *this; read(); return old; }
    bool operator==(const line_iterator& other) const {
        return (!Valid && !other.Valid) || (Stream == other.Stream && Valid == other.Valid);
    }
    bool operator!=(const line_iterator& other) const { return !(*this == other); }

    void read();

    // Reads one line: a newline ends it, carriage returns are dropped wherever they stand.
    // Returns true when the line was ended by a newline (the stream is still good).
    static bool ReadLine(std::istream& stream, std::string& line);

private:
    std::istream* Stream = nullptr;
    std::string Line;
    bool Valid = false;
};

class map_iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::pair<std::string, std::string>;
    using difference_type = std::ptrdiff_t;
    using pointer = const value_type*;
    using reference = const value_type&;

    map_iterator() = default;
    explicit map_iterator(std::istream& stream) : Stream(&stream) { read(); }

    reference operator*() const { return Pair; }
    pointer operator->() const { return &Pair; }
    map_iterator& operator++() { read(); return *this; }
    map_iterator operator++(int) { map_iterator old = *this; read(); return old; }
    bool operator==(const map_iterator& other) const {
        return (!Valid && !other.Valid) || (Stream == other.Stream && Valid == other.Valid);
    }
    bool operator!=(const map_iterator& other) const { return !(*this == other); }

    void read();

private:
    std::istream* Stream = nullptr;
    value_type Pair;
    bool Valid = false;
};
