#include "html/htmlexportvalues.h"

#include "stage/CRKeditDoc.h"
#include "stage/stagefields.h"

HtmlExportValues HtmlExportValues::from(const CRKeditDoc& doc) {
    HtmlExportValues v;
    for (const StageField& f : documentFields()) {
        if (f.exportText)
            v.*f.exportText = doc.*f.text;
        if (f.exportColour)
            v.*f.exportColour = doc.*f.colour;
    }
    return v;
}

bool HtmlExportValues::storeInto(CRKeditDoc& doc) const {
    const bool changed = !(from(doc) == *this);
    for (const StageField& f : documentFields()) {
        if (f.exportText)
            doc.*f.text = this->*f.exportText;
        if (f.exportColour)
            doc.*f.colour = this->*f.exportColour;
    }
    return changed;
}
