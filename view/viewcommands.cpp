// The view's commands on its tool panels and the document/panel transfers.
#include "view/CRKeditView.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "document/coretexts.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "panels/dataexchange.h"
#include "panels/dialogunits.h"
#include "panels/eventtool.h"
#include "panels/panelpictures.h"
#include "panels/panelplace.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "stage/CRKeditDoc.h"
#include "stage/propertyvalues.h"

namespace {
// Cells of the grid that hold a block.
int placedBlocks(const CRKeditDoc& doc) {
    int count = 0;
    for (int y = 0; y < CRKeditDoc::gridSize; ++y)
        for (int x = 0; x < CRKeditDoc::gridSize; ++x)
            if (doc.cell(x, y) != 0)
                ++count;
    return count;
}

// The top-left corner of `owner`'s client area on the screen, plus an offset in the dialog
// units of `dialog`: where a tool panel created without a parent window appears.
QPoint ownerPlace(QWidget* owner, QWidget* dialog, int ux, int uy) {
    const DialogUnits du(dialog->font());
    return owner->mapToGlobal(QPoint(0, 0)) + du.point(ux, uy);
}

// The stage window holding `view` (its frame), or the view itself outside one.
QWidget* stageWindowOf(QWidget* view) {
    for (QWidget* w = view; w != nullptr; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w))
            return w;
    return view;
}

// Panels are owned (created and deleted) by this view. Docked, a panel is a hidden widget
// of the view until the main window takes it into its dock; as a window of its own it stays
// above the main window. True when it is to be placed and shown as a window.
template <typename Panel> bool attachPanel(Panel* panel, QWidget* view) {
    if (CRKeditView::panelsDocked()) {
        panel->setParent(view, Qt::Widget);
        panel->hide();
        return false;
    }
    panel->setParent(view->window(), panel->windowFlags());
    return true;
}
} // namespace

void CRKeditView::onProperties() {
    if (propertyPanel) {
        onPanelToDoc();
        CPropertyPanel* panel = propertyPanel;
        propertyPanel = nullptr;
        delete panel;
        emit toolPanelsChanged();
        return;
    }
    propertyPanel = new CPropertyPanel(document_);
    connect(propertyPanel, &CPropertyPanel::transferRequested, this,
            [this] { postCommand(ID_PANEL_TO_DOC); });
    connect(propertyPanel, &CPropertyPanel::closeRequested, this,
            [this] { postCommand(ID_PROPERTIES); });
    connect(propertyPanel, &CPropertyPanel::displayChanged, this, [this] { update(); });
    connect(propertyPanel, &CPropertyPanel::applyRequested, this,
            [this] { runCommand(ID_PANEL_TO_DOC); });
    connect(propertyPanel, &CPropertyPanel::pictureChosen, this, &CRKeditView::pictureLoaded);
    const bool ownWindow = attachPanel(propertyPanel, this);
    postCommand(ID_DOC_TO_PANEL);
    propertyPanel->setBrowseImage(openFolderPicture());
    if (ownWindow) {
        placeBesideStage(propertyPanel);
        // The first paint opens the panel before the window is fitted to its stage.
        placePanelAfterFit_ = !lastFit_.isValid() || fitPending_;
        propertyPanel->show();
    }
    emit toolPanelsChanged();
}

void CRKeditView::openFirstPanel() {
    if (propertyPanel)
        return; // the user opened it first
    runCommand(ID_PROPERTIES);
    if (!propertyPanel)
        return;
    // Filled now, not only by the transfer it queued: the stage is painted already, and the
    // panel shows what the paints after a transfer show (the picture, its written-back size).
    onDocToPanel();
    propertyPanel->displayedPicture = picture;
    if (lastResult_.fitAndWriteBack)
        writeSizeToPanel(lastResult_.pictureWidth, lastResult_.pictureHeight);
}

void CRKeditView::placeBesideStage(CPropertyPanel* panel) {
    const QScreen* screen = window()->screen();
    if (screen == nullptr) {
        panel->move(mapToGlobal(QPoint(0, 0)) + QPoint(600, -20));
        return;
    }
    const QRect available = screen->availableGeometry();
    // Until the window manager frames the panel, its frame is taken to be the main window's.
    const QWidget* main = window();
    const QMargins frame(main->geometry().left() - main->frameGeometry().left(),
                         main->geometry().top() - main->frameGeometry().top(),
                         main->frameGeometry().right() - main->geometry().right(),
                         main->frameGeometry().bottom() - main->geometry().bottom());
    panel->frameAllowance = frame.top() + frame.bottom();
    panel->fitToScreen(available, panel->frameAllowance);
    const QSize outer = panel->size().grownBy(frame);
    QWidget* stage = stageWindowOf(this);
    const QRect stageRect(stage->mapToGlobal(QPoint(0, 0)), stage->size());
    QList<QRect> others;
    if (auto* window = qobject_cast<QMdiSubWindow*>(stage); window && window->mdiArea())
        for (QMdiSubWindow* other : window->mdiArea()->subWindowList())
            if (other != window && other->isVisible())
                others.append(QRect(other->mapToGlobal(QPoint(0, 0)), other->size()));
    // Its usual place: 600 pixels right of the view's left edge, 20 above its top.
    const QPoint usual = mapToGlobal(QPoint(0, 0)) + QPoint(600, -20);
    panel->move(panelPlace(stageRect, others, main->frameGeometry(), outer, usual, available));
}

void CRKeditView::placePropertiesPanel() {
    if (propertyPanel && propertyPanel->isWindow())
        placeBesideStage(propertyPanel);
}

bool CRKeditView::ownsToolPanel(const QWidget* window) const {
    if (window == nullptr)
        return false;
    // A panel in a window of its own, or in a floating dock; a panel docked in the main
    // window (or hidden in its view) is the main window's.
    if (window == this->window())
        return false;
    for (const QWidget* panel :
         {toolPanel(ID_PROPERTIES), toolPanel(ID_PLACEMENT_TOOL), toolPanel(ID_EVENT_TOOL)})
        if (panel && panel->window() == window)
            return true;
    return false;
}

void CRKeditView::onDocToPanel() {
    if (!propertyPanel)
        return;
    documentToPanel(*GetDocument(), *propertyPanel);
    propertyPanel->filledFromDocument = true;
    propertyPanel->UpdateData(false);
}

void CRKeditView::onPanelToDoc() {
    // A panel just opened holds its initial values until the queued document-to-panel
    // transfer has run; taking those into the document (a save or close in between) would
    // overwrite the stage and clear its blocks.
    if (!propertyPanel || !propertyPanel->filledFromDocument)
        return;
    // A field the panel cannot read keeps its member; the rest is transferred regardless.
    propertyPanel->UpdateData(true);
    // A transfer that changes values is one undo step, the grid clear of a new block size
    // included; one that changes nothing adds none. Every window of the stage shows a new
    // layout as the document tells it.
    StageEdit edit(*stageDocument(), StageEdit::Kind::SettingsTransfer);
    const int blocksBefore = placedBlocks(*GetDocument());
    const PanelTransferResult result = panelToDocument(*propertyPanel, *GetDocument());
    // When the transfer changed the stage, its other windows' panels show what it now holds:
    // a panel still showing the values from before would put them back when it is next taken
    // in (closed, saved), undoing what was taken from this one. A transfer that changed
    // nothing (the pointer moving over the panel) leaves them alone.
    if (edit.commit())
        for (QObject* other : stageDocument()->views())
            if (auto* view = qobject_cast<CRKeditView*>(other); view && view != this)
                view->onDocToPanel();
    if (result.gridCleared) {
        emit statusMessage(
            QCoreApplication::translate(
                "View", "ブロックサイズを %1 × %2 にしました。ブロック %3 個を消去しました。")
                .arg(QString::fromStdString(GetDocument()->blockWidth),
                     QString::fromStdString(GetDocument()->blockHeight))
                .arg(blocksBefore - placedBlocks(*GetDocument())));
    }
}

void CRKeditView::onPlacementTool() {
    if (placementTool) {
        CPlacementTool* tool = placementTool;
        placementTool = nullptr;
        delete tool;
        emit toolPanelsChanged();
        return;
    }
    QList<CPlacementTool::ToolEntry> tools;
    for (const ToolInfo& info : stageTools())
        tools.append({coreText(info.name), QChar(info.key)});
    placementTool = new CPlacementTool(tools);
    connect(placementTool, &CPlacementTool::choicesPolled, this,
            &CRKeditView::applyPlacementChoices);
    // The tool acts on the active stage window's view, as its display choices do.
    connect(placementTool, &CPlacementTool::toolChosen, this, [](int k) {
        if (CRKeditView* view = current(); view && k >= 0 && k < int(stageTools().size()))
            view->setTool(stageTools()[std::size_t(k)].id);
    });
    connect(placementTool, &CPlacementTool::countRequested, this, [this] {
        CRKeditView* view = current();
        if (!view || !placementTool)
            return;
        const auto [total, breakdown] = view->countBlocks();
        placementTool->showCount(total, breakdown);
        emit view->statusMessage(
            breakdown.isEmpty() ? QCoreApplication::translate("View", "ブロック数 %1").arg(total)
                                : QCoreApplication::translate("View", "ブロック数 %1（%2）")
                                      .arg(total)
                                      .arg(breakdown));
    });
    if (attachPanel(placementTool, this)) {
        placementTool->move(ownerPlace(window(), placementTool, 300, 100));
        placementTool->show();
    }
    // The tool starts from the current view's choices.
    if (const CRKeditView* view = current())
        placementTool->initialise(view->blockKind, view->referenceDisplay, view->gridMode,
                                  int(view->toolId_));
    emit toolPanelsChanged();
}

void CRKeditView::applyPlacementChoices(int blockKind, int referenceDisplay, int gridMode) {
    // The current view is never a destroyed one; with no view left there is nothing to set.
    CRKeditView* view = current();
    if (!view)
        return;
    if (blockKind != 0)
        view->setBlockKind(blockKind);
    bool changed = false;
    if (referenceDisplay != -1 && referenceDisplay != view->referenceDisplay) {
        view->referenceDisplay = referenceDisplay;
        changed = true;
    }
    if (gridMode != -1 && gridMode != view->gridMode) {
        view->gridMode = gridMode;
        changed = true;
    }
    // A display choice is the view's own, not the document's: it repaints itself.
    if (changed)
        view->update();
}

void CRKeditView::onEventTool() {
    if (eventTool) {
        eventTool->UpdateData(true);
        StageEdit edit(*stageDocument(), StageEdit::Kind::Script);
        GetDocument()->command = eventTool->script;
        edit.commit();
        CEventTool* tool = eventTool;
        eventTool = nullptr;
        delete tool;
        emit toolPanelsChanged();
        return;
    }
    eventTool = new CEventTool(document_);
    connect(eventTool, &CEventTool::closeRequested, this, [this] { postCommand(ID_EVENT_TOOL); });
    if (attachPanel(eventTool, this)) {
        eventTool->move(ownerPlace(window(), eventTool, 300, 0));
        eventTool->show();
    } else {
        // In its dock the tool takes the room the dock gives it.
        eventTool->setResizable(true);
    }
    emit toolPanelsChanged();
}

void CRKeditView::takePictureFromPanel() {
    // Every window of the stage shows the stage's picture: the one read with it or the one
    // a panel's browse or redraw made the current step.
    CRKeditDoc& doc = *GetDocument();
    doc.picturePending = false;
    picture = doc.picture;
    if (propertyPanel)
        propertyPanel->displayedPicture = doc.picture;
}

void CRKeditView::pictureLoaded(bool foreground, const std::string& name,
                                const PictureHolder& loaded) {
    document_->changePicture(foreground, name, loaded);
}

void CRKeditView::writeSizeToPanel(int pictureWidth, int pictureHeight) {
    if (!propertyPanel)
        return;
    CPropertyPanel& p = *propertyPanel;
    p.graphicWidth = pictureWidth;
    p.runtimeWidth = pictureWidth;
    p.graphicHeight = pictureHeight;
    p.runtimeHeight = p.computedRuntimeHeight();
    // Only the four size fields are shown anew: text being typed into another field and not
    // yet taken in stays as it is.
    p.showSizeFields();
}

std::optional<std::string> CRKeditView::takeEventToolScript() {
    if (!eventTool)
        return std::nullopt;
    return eventTool->takeScript();
}
