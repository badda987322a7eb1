#pragma once

#include <QWidget>

#include "picture/pictureblock.h"
#include "render/framebuffer.h"
#include "render/stagepainter.h"

class CRKeditDoc;
class StageDocument;
class CPropertyPanel;
class CPlacementTool;
class CEventTool;

// Command ids of the stage window's menus that the view handles.
enum ViewCommand : int {
    ID_PROPERTIES = 32771,     // open or close the properties panel
    ID_DOC_TO_PANEL = 32772,   // document -> panel transfer
    ID_PANEL_TO_DOC = 32773,   // panel -> document transfer
    ID_HTML_EXPORT = 32776,    // write out the HTML page
    ID_PLACEMENT_TOOL = 32777, // open or close the placement tool
    ID_EVENT_TOOL = 32779,     // open or close the event tool
};

// The view of one stage window: paints the stage (core/render does the pixels), owns the
// three modeless tool panels, keeps the display choices and the mouse drag state.
class CRKeditView : public QWidget {
    Q_OBJECT
public:
    CRKeditView(StageDocument* document, QWidget* parent = nullptr);
    ~CRKeditView() override;

    // The most recently constructed view that still exists (null when none does).
    static CRKeditView* current();

    StageDocument* stageDocument() const { return document_; }
    CRKeditDoc* GetDocument() const;

    // Runs a command now, or later in queue order (a posted command).
    void runCommand(int id);
    void postCommand(int id);

    // Called when the document updates all its views: runs the document-to-panel transfer.
    void OnUpdate();

    // Members in declared order.
    bool firstDraw = true;
    CPropertyPanel* propertyPanel = nullptr;
    CPlacementTool* placementTool = nullptr;
    CEventTool* eventTool = nullptr;
    int blockKind = 1;
    int gridMode = 2;
    int referenceDisplay = 1;
    int dragStartX = -1, dragStartY = -1;
    int dragEndX = -1, dragEndY = -1;
    PictureHolder picture; // the picture shown (pictureHeader / pictureBits)

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    StageDocument* document_;
    FrameBuffer frame_;
    StagePainter painter_;
};
