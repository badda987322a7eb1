#pragma once

#include <string_view>

// Whether bytes hold a whole stage record as the writer writes it: not empty, the first line
// ending with the "&" that closes its last pair, and every one of the record's keys present.
// A recovery copy cut short by a full disk or a crash fails this (the writer always writes
// every key, in one line), so it is never taken for the stage it was meant to keep.
enum class RecordCheck {
    complete,
    empty,      // no byte at all
    unfinished, // the last pair is not closed by "&" (the bytes were cut short)
    keysMissing // closed, but some of the record's keys are not there
};

RecordCheck checkRecord(std::string_view bytes);
