#include "html/htmlexportvalues.h"

#include "stage/CRKeditDoc.h"

HtmlExportValues HtmlExportValues::from(const CRKeditDoc& doc) {
    HtmlExportValues v;
    v.bgcolorGame = doc.bgcolorGame;
    v.bgcolorHtml = doc.bgcolorHtml;
    v.title = doc.title;
    v.configFileName = doc.configFileName;
    v.quality = doc.quality;
    v.annotationPosition = doc.annotationPosition;
    return v;
}

bool HtmlExportValues::storeInto(CRKeditDoc& doc) const {
    const bool changed = !(from(doc) == *this);
    doc.bgcolorGame = bgcolorGame;
    doc.bgcolorHtml = bgcolorHtml;
    doc.title = title;
    doc.configFileName = configFileName;
    doc.quality = quality;
    doc.annotationPosition = annotationPosition;
    return changed;
}
