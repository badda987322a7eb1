#include "stage/CRKeditDoc.h"

#include "stage/settingtext.h"

CRKeditDoc::CRKeditDoc()
    : graphicWidth("0"), graphicHeight("0"), graphic1("graphic1.JPG"), graphic2("graphic2.JPG"),
      minRadian("2"), maxRadian("8"), baseSpeed("16"), ballSize("10"), precision("4"), xSpeed("10"),
      barWidth("100"), barHeight("12"), criticalWidth("3"), edgeWidth("5"), blockWidth("15"),
      blockHeight("12"), barSpace("150"), life("5"), blockMask("1"), ballSpeedRate("100%"),
      barSpeedRate("AUTO") {}

namespace {
int stageCells(const std::string& size, const std::string& cellSize) {
    const std::int32_t b = digitValue(cellSize);
    if (b == 0)
        return 0;
    const std::int32_t n = ceilingDivision(digitValue(size), b);
    return n > 0 ? n : 0;
}
} // namespace

int CRKeditDoc::columns() const {
    return stageCells(graphicWidth, blockWidth);
}
int CRKeditDoc::rows() const {
    return stageCells(graphicHeight, blockHeight);
}
