#pragma once

#include <string_view>

// What the bytes of a file about to be opened as a stage hold.
enum class StageBytes {
    empty,    // no byte at all: opens as a new stage under the file's name (nothing to lose)
    stage,    // a stage record: its first line holds at least one pair with a known key
    notStage, // anything else (a picture, a binary, some other text): never opened as a stage,
              // so a later Save cannot write a stage record over it
};

// Classifies `bytes`. A pair counts as the reader reads it: the first line (up to the first
// CR or LF) is cut at every "&", and a piece whose text before its first "=" is one of the
// record's keys (exact, case-sensitive) makes the bytes a stage. A hand-made record whose
// last pair has no closing "&" still counts, as the reader takes that pair too.
StageBytes classifyStageBytes(std::string_view bytes);
