#include "app/scriptcommand.h"

#include "app/stagedocument.h"
#include "panels/eventtool.h"
#include "view/CRKeditView.h"

void ScriptCommand::refresh(bool forward) {
    StageEditCommand::refresh(forward);
    // The script the document held before this undo or redo.
    const std::string* replaced = change().textValue(&CRKeditDoc::command, !forward);
    if (replaced == nullptr)
        return;
    for (CRKeditView* view : document()->views()) {
        CEventTool* tool = view->eventTool;
        if (tool == nullptr)
            continue;
        tool->UpdateData(true);
        if (tool->script == *replaced) {
            tool->script = document()->doc().command;
            tool->UpdateData(false);
        }
    }
}
