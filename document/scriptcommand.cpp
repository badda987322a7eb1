#include "document/scriptcommand.h"

#include "document/stagedocument.h"
#include "panels/eventtool.h"
#include "view/CRKeditView.h"

void ScriptCommand::refresh(bool forward) {
    StageEditCommand::refresh(forward);
    // The script the document held before this undo or redo.
    if (const std::string* replaced = change().textValue(&CRKeditDoc::command, !forward))
        showInEventTools(document(), *replaced);
}

void ScriptCommand::showInEventTools(StageDocument* document, const std::string& replaced) {
    for (CRKeditView* view : document->views()) {
        CEventTool* tool = view->eventTool;
        if (tool == nullptr)
            continue;
        tool->UpdateData(true);
        if (tool->script == replaced && replaced != document->doc().command) {
            tool->script = document->doc().command;
            tool->UpdateData(false);
        }
    }
}
