#pragma once

#include <memory>

class CRKeditDoc;
class StageDocument;

// Records one edit of a stage as one undo step: constructed before the edit, it keeps the
// stage as it was; commit() compares and pushes what changed as a step of its kind. An edit
// that changes nothing adds no step.
//
//     StageEdit edit(*document, StageEdit::Kind::Script);
//     document->doc().command = script;
//     edit.commit();
class StageEdit {
public:
    enum class Kind { BlockToggle, SettingsTransfer, Script, ExportValues, Reload };

    StageEdit(StageDocument& document, Kind kind);
    ~StageEdit();
    StageEdit(const StageEdit&) = delete;
    StageEdit& operator=(const StageEdit&) = delete;

    // True when the edit changed the stage (and is now a step on its undo stack).
    bool commit();

private:
    StageDocument& document_;
    Kind kind_;
    std::unique_ptr<CRKeditDoc> before_;
};
