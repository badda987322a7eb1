#include "stage/stagechange.h"

StageChange StageChange::between(const CRKeditDoc& before, const CRKeditDoc& after) {
    StageChange change;
    for (const StageField& f : documentFields()) {
        if (f.text && before.*f.text != after.*f.text)
            change.texts_.push_back({&f, before.*f.text, after.*f.text});
        if (f.flag && before.*f.flag != after.*f.flag)
            change.flags_.push_back({&f, before.*f.flag, after.*f.flag});
        if (f.colour && before.*f.colour != after.*f.colour)
            change.colours_.push_back({&f, before.*f.colour, after.*f.colour});
    }
    change.grid_ = GridDelta::between(before.block, after.block);
    change.texts_.shrink_to_fit();
    change.flags_.shrink_to_fit();
    change.colours_.shrink_to_fit();
    return change;
}

void StageChange::apply(CRKeditDoc& doc, bool forward) const {
    for (const TextChange& text : texts_)
        doc.*text.field->text = forward ? text.after : text.before;
    for (const FlagChange& flag : flags_)
        doc.*flag.field->flag = forward ? flag.after : flag.before;
    for (const ColourChange& colour : colours_)
        doc.*colour.field->colour = forward ? colour.after : colour.before;
    grid_.apply(doc.block, forward);
}

std::vector<const StageField*> StageChange::changedFields() const {
    std::vector<const StageField*> fields;
    for (const TextChange& text : texts_)
        fields.push_back(text.field);
    for (const FlagChange& flag : flags_)
        fields.push_back(flag.field);
    for (const ColourChange& colour : colours_)
        fields.push_back(colour.field);
    return fields;
}

const std::string* StageChange::textValue(std::string CRKeditDoc::*member, bool after) const {
    for (const TextChange& text : texts_)
        if (text.field->text == member)
            return after ? &text.after : &text.before;
    return nullptr;
}

std::size_t StageChange::memoryBytes() const {
    std::size_t bytes = texts_.capacity() * sizeof(TextChange) +
                        flags_.capacity() * sizeof(FlagChange) +
                        colours_.capacity() * sizeof(ColourChange) + grid_.memoryBytes();
    for (const TextChange& text : texts_) {
        // Short texts live inside the string object itself.
        if (text.before.capacity() > std::string().capacity())
            bytes += text.before.capacity() + 1;
        if (text.after.capacity() > std::string().capacity())
            bytes += text.after.capacity() + 1;
    }
    return bytes;
}
