#pragma once

#include <QString>

#include <memory>

class CRKeditDoc;
class StageDocument;

// Records one edit of a stage as one undo step: constructed before the edit, it keeps the
// stage as it was; commit() compares, pushes what changed as a step of its kind and has the
// document tell what changed (the views repaint from that). An edit that changes nothing adds
// no step and tells nothing.
//
//     StageEdit edit(*document, StageEdit::Kind::Script);
//     document->doc().command = script;
//     edit.commit();
class StageEdit {
public:
    // BlockEdit: an editing tool's stroke, its undo step named by `label`.
    enum class Kind { BlockToggle, BlockEdit, SettingsTransfer, Script, ExportValues, Reload };

    StageEdit(StageDocument& document, Kind kind, QString label = {});
    ~StageEdit();
    StageEdit(const StageEdit&) = delete;
    StageEdit& operator=(const StageEdit&) = delete;

    // True when the edit changed the stage (and is now a step on its undo stack).
    bool commit();
    // Puts the block grid back as it was when the edit began and adds no step (a stroke
    // given up with Esc); the cells it gives back are told as changed.
    void revert();

private:
    StageDocument& document_;
    Kind kind_;
    QString label_;
    std::unique_ptr<CRKeditDoc> before_;
};
