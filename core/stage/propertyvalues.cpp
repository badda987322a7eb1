#include "stage/propertyvalues.h"

#include "stage/CRKeditDoc.h"
#include "stage/blockedit.h"
#include "stage/settingtext.h"
#include "stage/stagefields.h"

std::int32_t PropertyValues::computedRuntimeHeight() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(graphicHeight) +
                                     static_cast<std::uint32_t>(barSpace));
}

void documentToPanel(const CRKeditDoc& doc, PropertyValues& p) {
    for (const StageField& f : documentFields()) {
        if (f.panelText)
            p.*f.panelText = doc.*f.text;
        else if (f.panelNumber)
            p.*f.panelNumber = f.flag ? doc.*f.flag : digitValue(doc.*f.text);
    }
    p.runtimeWidth = p.graphicWidth;
    p.runtimeHeight = p.computedRuntimeHeight();
}

namespace {
template <typename T> void store(T& target, const T& value, bool& changed) {
    if (target != value) {
        target = value;
        changed = true;
    }
}
} // namespace

PanelTransferResult panelToDocument(const PropertyValues& p, CRKeditDoc& doc) {
    PanelTransferResult r;
    const std::string blockWidth = decimalText(p.blockWidth);
    const std::string blockHeight = decimalText(p.blockHeight);
    if (blockWidth != doc.blockWidth || blockHeight != doc.blockHeight) {
        r.gridCleared = true;
        r.changed =
            clearBlockArea(doc, p.graphicWidth, p.graphicHeight, p.blockWidth, p.blockHeight);
    }
    for (const StageField& f : documentFields()) {
        // A new cell size or paddle area changes the layout on screen.
        const bool layout = f.text == &CRKeditDoc::blockWidth ||
                            f.text == &CRKeditDoc::blockHeight || f.text == &CRKeditDoc::barSpace;
        bool& changed = layout ? r.repaint : r.changed;
        if (f.panelText)
            store(doc.*f.text, p.*f.panelText, changed);
        else if (f.panelNumber && f.flag)
            store(doc.*f.flag, p.*f.panelNumber, changed);
        else if (f.panelNumber)
            store(doc.*f.text, decimalText(p.*f.panelNumber), changed);
    }
    r.changed = r.changed || r.repaint;
    return r;
}
