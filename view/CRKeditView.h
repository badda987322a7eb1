#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "picture/pictureblock.h"
#include "render/framebuffer.h"
#include "render/stagepainter.h"

class CRKeditDoc;
class StageDocument;
class CPropertyPanel;
class CPlacementTool;
class CEventTool;
class QPainter;
struct PaintInputs;

// Command ids of the stage window's menus that the view handles.
enum ViewCommand : int {
    ID_PROPERTIES = 32771,     // open or close the properties panel
    ID_DOC_TO_PANEL = 32772,   // document -> panel transfer
    ID_PANEL_TO_DOC = 32773,   // panel -> document transfer
    ID_HTML_EXPORT = 32776,    // write out the HTML page
    ID_PLACEMENT_TOOL = 32777, // open or close the placement tool
    ID_EVENT_TOOL = 32779,     // open or close the event tool
};

// The view layer (view/): CRKeditView, the contents of a stage window. It may use core, the
// document, the panels and the HTML export; nothing above it (the shell) is named here. It
// listens to its document: it repaints when the document tells that something it shows
// changed, and its panels' requests reach it as signals.
//
// The view of one stage window: paints the stage (core/render does the pixels), owns the
// three modeless tool panels, keeps the display choices and the mouse drag state.
//
// The command handlers that work on the tool panels live in viewcommands.cpp, mouse
// placement in mouseplacement.cpp; painting, the document link and the command plumbing here.
class CRKeditView : public QWidget {
    Q_OBJECT
public:
    CRKeditView(StageDocument* document, QWidget* parent = nullptr);
    ~CRKeditView() override;

    // The most recently constructed view that still exists (null when none does). A view
    // that is destroyed is never returned: the one constructed before it takes its place.
    static CRKeditView* current();

    StageDocument* stageDocument() const { return document_; }
    CRKeditDoc* GetDocument() const;

    // Whether the view has a handler for `id` (commands without one are shown disabled).
    static bool handlesCommand(int id);

    // Runs a command now, or later in queue order (a posted command). A posted command whose
    // view is destroyed before it runs is dropped.
    void runCommand(int id);
    void postCommand(int id);

    // Called when the document updates all its views: runs the document-to-panel transfer.
    void OnUpdate();

    // A picture the properties panel has loaded by its browse or redraw button, with the file
    // name it came from: an edit of the stage (see StageDocument::changePicture).
    void pictureLoaded(bool foreground, const std::string& name, const PictureHolder& loaded);

    // Takes what the open tool panels hold into the document (the properties panel's values,
    // the event tool's script), so that a question about unsaved changes sees every edit.
    void commitToolEdits();

    // When the event tool is open: it takes its edit control's text into its script, which
    // is returned (CP932, lines ended by CR LF). Nothing while it is closed.
    std::optional<std::string> takeEventToolScript();

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

    // The hint shown in the window of a stage without a picture.
    static QString startHintText();

    // The pixels the drag rectangle covers (mouseplacement.cpp); empty while no drag is in
    // progress or no cell size can be computed.
    QRect dragRectanglePixels() const;

    // True when the last paint showed the stage at the size it fits (or the stage fits no
    // size: no picture); false while the window is still to be fitted to it.
    bool showsFittedStage() const { return showsFittedStage_; }

signals:
    // A short message for the status bar (a new block layout says how many blocks it cleared).
    void statusMessage(const QString& text);
    // After every paint of the view (start-up measurement and tests wait for it).
    void painted();
    // The stage wants the view's client area to be `client` (the window around it fits it).
    void clientSizeWanted(QSize client);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Command handlers (viewcommands.cpp).
    void onProperties();
    void onDocToPanel();
    void onPanelToDoc();
    void onPlacementTool();
    void onEventTool();
    void onHtmlExport();
    // The paint's two steps that involve the properties panel (viewcommands.cpp): hand a
    // pending document picture to the open panel and take the panel's displayed picture;
    // show the written-back picture size in the open panel.
    void takePictureFromPanel();
    void writeSizeToPanel(int pictureWidth, int pictureHeight);
    // The placement tool's checked choices go to the current view (placement tool's poll).
    static void applyPlacementChoices(int blockKind, int referenceDisplay, int gridMode);

    // While the stage has no picture: a short hint on how to start, over the painted stage.
    void drawStartHint(QPainter& painter);

    // Sizes the stage window so that the view's client area is width x height.
    void fitFrame(int width, int height);

    StageDocument* document_;
    FrameBuffer frame_;
    StagePainter painter_;
    // What frame_ was last painted from, and that paint's result.
    std::unique_ptr<PaintInputs> lastPaint_;
    PaintResult lastResult_;
    bool showsFittedStage_ = false;
};
