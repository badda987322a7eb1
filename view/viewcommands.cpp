// The view's commands on its tool panels and the document/panel transfers. The panels
// themselves are built in panels/; until a panel class is opened here its pointer stays null
// and every command below finds its panel closed.
#include "view/CRKeditView.h"

void CRKeditView::onProperties() {}

void CRKeditView::onDocToPanel() {}

void CRKeditView::onPanelToDoc() {}

void CRKeditView::onPlacementTool() {}

void CRKeditView::onEventTool() {}

void CRKeditView::takePictureFromPanel() {}

void CRKeditView::writeSizeToPanel(int, int) {}

std::optional<std::string> CRKeditView::takeEventToolScript() { return std::nullopt; }
