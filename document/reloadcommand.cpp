#include "document/reloadcommand.h"

#include "document/scriptcommand.h"
#include "document/stagedocument.h"

void ReloadCommand::refresh(bool forward) {
    StageEditCommand::refresh(forward);
    // An open event tool follows the script as the file or the undo gives it.
    if (const std::string* replaced = change().textValue(&CRKeditDoc::command, !forward))
        ScriptCommand::showInEventTools(document(), *replaced);
}
