#include "document/scriptcommand.h"

#include "document/stagedocument.h"

void ScriptCommand::refresh(bool forward) {
    StageEditCommand::refresh(forward);
    // The script the document held before this undo or redo.
    if (const std::string* replaced = change().textValue(&CRKeditDoc::command, !forward))
        document()->announceScriptReplaced(*replaced);
}
