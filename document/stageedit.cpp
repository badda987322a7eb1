#include "document/stageedit.h"

#include "document/blocktogglecommand.h"
#include "document/exportvaluescommand.h"
#include "document/reloadcommand.h"
#include "document/scriptcommand.h"
#include "document/settingstransfercommand.h"
#include "document/stagedocument.h"
#include "stage/CRKeditDoc.h"
#include "stage/griddelta.h"

StageEdit::StageEdit(StageDocument& document, Kind kind, QString label)
    : document_(document), kind_(kind), label_(std::move(label)),
      before_(std::make_unique<CRKeditDoc>(document.doc())) {}

StageEdit::~StageEdit() = default;

bool StageEdit::commit() {
    if (!before_)
        return false;
    StageChange change = StageChange::between(*before_, document_.doc());
    before_.reset();
    if (change.empty())
        return false;
    const StageDocument::Scopes scopes = StageDocument::scopesOf(change);
    const CellRect cells = change.grid().box();
    StageDocument* document = &document_;
    switch (kind_) {
    case Kind::BlockToggle:
        document->pushEdit(new BlockToggleCommand(document, std::move(change)));
        break;
    case Kind::BlockEdit:
        document->pushEdit(new BlockToggleCommand(document, std::move(change), label_));
        break;
    case Kind::SettingsTransfer:
        document->pushEdit(new SettingsTransferCommand(document, std::move(change)));
        break;
    case Kind::Script:
        document->pushEdit(new ScriptCommand(document, std::move(change)));
        break;
    case Kind::ExportValues:
        document->pushEdit(new ExportValuesCommand(document, std::move(change)));
        break;
    case Kind::Reload:
        document->pushEdit(new ReloadCommand(document, std::move(change)));
        break;
    }
    document->announceCells(cells);
    document->announceChange(scopes);
    return true;
}

void StageEdit::revert() {
    if (!before_)
        return;
    const GridDelta undone = GridDelta::between(document_.doc().block, before_->block);
    document_.doc().block = before_->block; // a stroke writes cells only
    before_.reset();
    document_.announceCells(undone.box());
}
