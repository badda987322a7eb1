#include "stage/propertyvalues.h"

#include "stage/CRKeditDoc.h"
#include "stage/blockedit.h"
#include "stage/settingtext.h"

std::int32_t PropertyValues::computedRuntimeHeight() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(graphicHeight) +
                                     static_cast<std::uint32_t>(barSpace));
}

void documentToPanel(const CRKeditDoc& doc, PropertyValues& p) {
    p.graphic1 = doc.graphic1;
    p.graphic2 = doc.graphic2;
    p.graphicWidth = digitValue(doc.graphicWidth);
    p.graphicHeight = digitValue(doc.graphicHeight);
    p.runtimeWidth = p.graphicWidth;
    p.runtimeHeight =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(p.graphicHeight) +
                                  static_cast<std::uint32_t>(digitValue(doc.barSpace)));
    p.blockWidth = digitValue(doc.blockWidth);
    p.blockHeight = digitValue(doc.blockHeight);
    p.barSpace = digitValue(doc.barSpace);
    p.minRadian = digitValue(doc.minRadian);
    p.maxRadian = digitValue(doc.maxRadian);
    p.ballSize = digitValue(doc.ballSize);
    p.baseSpeed = digitValue(doc.baseSpeed);
    p.precision = digitValue(doc.precision);
    p.barWidth = digitValue(doc.barWidth);
    p.barHeight = digitValue(doc.barHeight);
    p.edgeWidth = digitValue(doc.edgeWidth);
    p.criticalWidth = digitValue(doc.criticalWidth);
    p.xSpeed = digitValue(doc.xSpeed);
    p.life = digitValue(doc.life);
    p.blockMask = digitValue(doc.blockMask);
    p.keyboardMode = doc.keyboardMode;
    p.blockMode = doc.blockMode;
    p.soundMode = doc.soundMode;
    p.effectMode = doc.effectMode;
    p.liteMode = doc.liteMode;
    p.edgeBack = doc.edgeBack;
    p.timerVisible = doc.timerVisible;
    p.rankingEnable = doc.rankingEnable;
    p.ballSpeedRate = doc.ballSpeedRate;
    p.barSpeedRate = doc.barSpeedRate;
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

    bool& changed = r.changed;
    store(doc.graphic1, p.graphic1, changed);
    store(doc.graphic2, p.graphic2, changed);
    store(doc.graphicWidth, decimalText(p.graphicWidth), changed);
    store(doc.graphicHeight, decimalText(p.graphicHeight), changed);
    // A new cell size or paddle area changes the layout on screen.
    bool layout = false;
    store(doc.blockWidth, blockWidth, layout);
    store(doc.blockHeight, blockHeight, layout);
    store(doc.barSpace, decimalText(p.barSpace), layout);
    r.repaint = layout;
    changed = changed || layout;
    store(doc.minRadian, decimalText(p.minRadian), changed);
    store(doc.maxRadian, decimalText(p.maxRadian), changed);
    store(doc.ballSize, decimalText(p.ballSize), changed);
    store(doc.baseSpeed, decimalText(p.baseSpeed), changed);
    store(doc.precision, decimalText(p.precision), changed);
    store(doc.barWidth, decimalText(p.barWidth), changed);
    store(doc.barHeight, decimalText(p.barHeight), changed);
    store(doc.edgeWidth, decimalText(p.edgeWidth), changed);
    store(doc.criticalWidth, decimalText(p.criticalWidth), changed);
    store(doc.xSpeed, decimalText(p.xSpeed), changed);
    store(doc.life, decimalText(p.life), changed);
    store(doc.blockMask, decimalText(p.blockMask), changed);
    store(doc.keyboardMode, p.keyboardMode, changed);
    store(doc.blockMode, p.blockMode, changed);
    store(doc.soundMode, p.soundMode, changed);
    store(doc.effectMode, p.effectMode, changed);
    store(doc.liteMode, p.liteMode, changed);
    store(doc.edgeBack, p.edgeBack, changed);
    store(doc.timerVisible, p.timerVisible, changed);
    store(doc.rankingEnable, p.rankingEnable, changed);
    store(doc.ballSpeedRate, p.ballSpeedRate, changed);
    store(doc.barSpeedRate, p.barSpeedRate, changed);
    return r;
}
