#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What reading a stage file left out of the document: content of the file that saving the
// document again would not write back. Reading never fails on such content (the movie reads
// the same file the same way); this lets the programs tell the user before it is lost.
struct IgnoredContent {
    // Block list items with a block in them that have no cell: outside the 100 x 100 grid,
    // or in a list read before the stage's width. (Empty cells outside the grid are written
    // back as they were.)
    std::int64_t cellsBeyondGrid = 0;
    // Keys the record does not have, in the order first met (each once); a pair without
    // "=" counts under its own text.
    std::vector<std::string> unknownKeys;
    // Keys whose value is not of the form the key takes: a list ("a,b") under a key that
    // holds one value, or one value under the block list. Each once, in the order first met.
    std::vector<std::string> unreadValues;
    // Lines after the first that hold anything (only the first line is the record).
    std::int64_t extraLines = 0;

    bool empty() const {
        return cellsBeyondGrid == 0 && unknownKeys.empty() && unreadValues.empty() &&
               extraLines == 0;
    }
};
