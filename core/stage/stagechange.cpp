#include "stage/stagechange.h"

#include <array>

namespace {
using Text = std::string CRKeditDoc::*;

// Every text member, in declared order.
constexpr Text textMembers[] = {
    &CRKeditDoc::quality,
    &CRKeditDoc::title,
    &CRKeditDoc::version,
    &CRKeditDoc::graphicWidth,
    &CRKeditDoc::graphicHeight,
    &CRKeditDoc::graphic1,
    &CRKeditDoc::graphic2,
    &CRKeditDoc::minRadian,
    &CRKeditDoc::maxRadian,
    &CRKeditDoc::baseSpeed,
    &CRKeditDoc::ballSize,
    &CRKeditDoc::precision,
    &CRKeditDoc::xSpeed,
    &CRKeditDoc::barWidth,
    &CRKeditDoc::barHeight,
    &CRKeditDoc::criticalWidth,
    &CRKeditDoc::edgeWidth,
    &CRKeditDoc::blockWidth,
    &CRKeditDoc::blockHeight,
    &CRKeditDoc::barSpace,
    &CRKeditDoc::life,
    &CRKeditDoc::blockMask,
    &CRKeditDoc::ballSpeedRate,
    &CRKeditDoc::barSpeedRate,
    &CRKeditDoc::annotationPosition,
    &CRKeditDoc::configFileName,
    &CRKeditDoc::command,
};

constexpr std::array<std::int32_t CRKeditDoc::*, 8> flagMembers{
    &CRKeditDoc::keyboardMode, &CRKeditDoc::blockMode,     &CRKeditDoc::soundMode,
    &CRKeditDoc::effectMode,   &CRKeditDoc::liteMode,      &CRKeditDoc::edgeBack,
    &CRKeditDoc::timerVisible, &CRKeditDoc::rankingEnable,
};
constexpr std::array<std::uint32_t CRKeditDoc::*, 2> colourMembers{&CRKeditDoc::bgcolorHtml,
                                                                   &CRKeditDoc::bgcolorGame};
} // namespace

StageChange StageChange::between(const CRKeditDoc& before, const CRKeditDoc& after) {
    StageChange change;
    for (Text member : textMembers)
        if (before.*member != after.*member)
            change.texts_.push_back({member, before.*member, after.*member});
    for (auto member : flagMembers)
        if (before.*member != after.*member)
            change.flags_.push_back({member, before.*member, after.*member});
    for (auto member : colourMembers)
        if (before.*member != after.*member)
            change.colours_.push_back({member, before.*member, after.*member});
    change.grid_ = GridDelta::between(before.block, after.block);
    change.texts_.shrink_to_fit();
    change.flags_.shrink_to_fit();
    change.colours_.shrink_to_fit();
    return change;
}

void StageChange::apply(CRKeditDoc& doc, bool forward) const {
    for (const TextChange& text : texts_)
        doc.*text.member = forward ? text.after : text.before;
    for (const auto& flag : flags_)
        doc.*flag.member = forward ? flag.after : flag.before;
    for (const auto& colour : colours_)
        doc.*colour.member = forward ? colour.after : colour.before;
    grid_.apply(doc.block, forward);
}

std::vector<std::string CRKeditDoc::*> StageChange::changedTexts() const {
    std::vector<Text> members;
    for (const TextChange& text : texts_)
        members.push_back(text.member);
    return members;
}

const std::string* StageChange::textValue(std::string CRKeditDoc::*member, bool after) const {
    for (const TextChange& text : texts_)
        if (text.member == member)
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
