#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stage/CRKeditDoc.h"
#include "stage/griddelta.h"
#include "stage/stagefields.h"

// What one edit changed in a stage: the old and new value of every field of the field table
// that differs, and the grid's difference. It covers everything the stage record and the
// HTML export keep (the foreground picture and the picture-pending mark are not the user's
// edit and are left alone), so undoing it gives back the record byte for byte.
class StageChange {
public:
    static StageChange between(const CRKeditDoc& before, const CRKeditDoc& after);

    bool empty() const {
        return texts_.empty() && flags_.empty() && colours_.empty() && grid_.empty();
    }
    // Puts the new values into `doc` (redo) or the old ones (undo).
    void apply(CRKeditDoc& doc, bool forward) const;

    // The fields that changed (texts, then flags, then colours; the grid is grid()), each
    // in table order.
    std::vector<const StageField*> changedFields() const;
    // The old (`after` false) or new value of a text this change holds; null when the text
    // did not change.
    const std::string* textValue(std::string CRKeditDoc::*member, bool after) const;
    const GridDelta& grid() const { return grid_; }

    // Heap bytes this change holds (the object itself not counted).
    std::size_t memoryBytes() const;

private:
    template <typename T> struct ValueChange {
        const StageField* field;
        T before, after;
    };
    using TextChange = ValueChange<std::string>;
    using FlagChange = ValueChange<std::int32_t>;
    using ColourChange = ValueChange<std::uint32_t>;
    std::vector<TextChange> texts_;
    std::vector<FlagChange> flags_;
    std::vector<ColourChange> colours_;
    GridDelta grid_;
};
