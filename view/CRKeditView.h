#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "document/pendingscriptsource.h"
#include "picture/pictureblock.h"
#include "render/framebuffer.h"
#include "render/paintarea.h"
#include "render/stagepainter.h"
#include "stage/blockedit.h"
#include "stage/cellblock.h"
#include "stage/cellrect.h"
#include "view/stagetool.h"

class QScrollBar;
class QTimer;
class CellWriter;
class StageEdit;

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
    ID_VIEW_ZOOM_IN = 32801,   // the next zoom step up, about the visible part's centre
    ID_VIEW_ZOOM_OUT = 32802,  // the next zoom step down
    ID_VIEW_ZOOM_100 = 32803,  // 100 %
    ID_VIEW_ZOOM_FIT = 32804,  // the whole stage in the window
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
// placement in mouseplacement.cpp, scrolling, zooming and the pointer mapping in
// viewport.cpp; painting, the document link and the command plumbing here.
//
// The stage is shown at the view's zoom on a canvas of max(stage size x zoom, visible size);
// when that is larger than the visible part (the view less its scroll bars) the view
// scrolls. A paint covers only the visible part, painted straight from the picture block.
class CRKeditView : public QWidget, private ToolHost, private PendingScriptSource {
    Q_OBJECT
public:
    CRKeditView(StageDocument* document, QWidget* parent = nullptr);
    ~CRKeditView() override;

    // The view the user acts on: the active stage window's, as `source` tells it (set by the
    // program around the views: the MDI area's current sub-window, which stays current while
    // a panel or dialog has the focus). Without a source, or while it names no living view,
    // the most recently constructed view that still exists (null when none does). A view
    // that is destroyed is never returned.
    static CRKeditView* current();
    static void setActiveViewSource(std::function<CRKeditView*()> source);
    // The current view may have changed: open placement tools show its choices.
    static void currentChanged();

    // Where the tool panels show. Docked (set by the main window that holds the docks): a
    // panel is a plain widget of its view until the main window puts it into its dock, and
    // toolPanelsChanged() tells when one opened or closed. Otherwise each panel is a window
    // of its own, placed beside its stage window.
    static void setPanelsDocked(bool docked);
    static bool panelsDocked();
    // The open panel a panel command (ID_PROPERTIES, ID_PLACEMENT_TOOL, ID_EVENT_TOOL) opens
    // and closes; null while it is closed or for another id.
    QWidget* toolPanel(int commandId) const;

    // The drawing tool and the block kind it places, both this view's own.
    ToolId tool() const { return toolId_; }
    void setTool(ToolId id);
    // Chooses the kind the tools place (1..8; other values are ignored).
    void setBlockKind(int kind);
    // Counts the blocks of the stage's cells: the total, and the text of the count of each
    // kind present ("通常ブロック 3、破壊不能ブロック 1"); shown by the placement tool's
    // "計測" and in the status bar.
    std::pair<int, QString> countBlocks() const;
    // The name shown for a cell's code: "空", the kind's name, or "コード N".
    static QString codeName(CellCode code);

    // The selection: one rectangle of the stage's cells, this view's own. It survives tool
    // changes and undo; the edit commands and transforms act on it.
    std::optional<CellRect> selectedCells() const { return selection_; }
    void setSelection(std::optional<CellRect> cells) override;
    void selectAll();
    // Puts the selected cells on the clipboard; cut empties them too (one undo step), delete
    // only empties them. Each does nothing without a selection.
    void copySelection();
    void cutSelection();
    void deleteSelection();
    // Takes the clipboard's cells: floating over the stage, following the pointer until a
    // click or Enter places them (Esc gives them up); `inPlace`: placed at once where they
    // were copied from (the selection's corner, else the stage's, for text). False with the
    // reason in the status bar when the clipboard holds no cells.
    bool paste(bool inPlace);
    // A paste following the pointer.
    bool isFloating() const { return floating_.has_value(); }
    std::optional<CellRect> floatingCells() const;
    // Places the floating paste where it is now (Enter; a click places it under the pointer).
    void placeFloating();

    // Transforms of the selection, or of the whole stage when nothing is selected; the
    // shifts move the whole stage one cell with wrap-around. One undo step each.
    enum class Transform {
        FlipHorizontal,
        FlipVertical,
        Rotate180,
        ShiftLeft,
        ShiftRight,
        ShiftUp,
        ShiftDown
    };
    void transform(Transform how);

    // Whether a paste writes the pasted block's empty cells too (空のセルも貼り付ける), for
    // every view; off: the stage's cells stay where the block has none.
    static bool pasteEmptyCells;

    StageDocument* stageDocument() const { return document_; }
    CRKeditDoc* GetDocument() const;

    // The view's commands (ViewCommand), each with its handler: the stage window's menus and
    // keys run them on the view the user acts on, through the application's command table.
    struct Command {
        int id;
        void (CRKeditView::*run)();
    };
    static std::span<const Command> commands();

    // Runs one of the view's commands now (an id not among them does nothing), or later in
    // queue order (a posted command). A posted command whose view is destroyed before it
    // runs is dropped.
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

    // Whether `window` is one of this view's open tool panels (a window of its own, which
    // keeps the keyboard while another stage window is the active one).
    bool ownsToolPanel(const QWidget* window) const;

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

    // The stage pixel shown at `pos` (view coordinates, in the visible part): the one place
    // the pointer is mapped through the zoom, the device pixel ratio and the scroll position,
    // so the cell under the pointer is the cell painted there.
    QPoint stagePointAt(QPointF pos) const;
    // The grid cell at `pos` (stagePointAt), if a cell size can be computed.
    std::optional<GridCell> cellAt(QPointF pos) const;

    // The stage's size in stage pixels (picture width x (picture height + barSpace)), or an
    // empty size while the stage shows no picture with a usable block size.
    QSize stageSize() const;
    // The view's zoom (view pixels per stage pixel).
    StageZoom zoom() const { return zoom_; }
    // Sets the zoom; the stage point at `anchor` (view coordinates) stays where it is, the
    // visible part's centre without one.
    void setZoom(const StageZoom& zoom, std::optional<QPointF> anchor = std::nullopt);
    // Whether the zoom is the whole-stage zoom, which follows the room as it changes.
    bool showingWhole() const { return showingWhole_; }
    // Back to a zoom kept earlier, and to following the room only if the view did then.
    void restoreZoom(const StageZoom& zoom, bool showingWhole);
    // The top-left corner of the visible part in view pixels of the zoomed canvas.
    QPoint scrollPosition() const;
    void setScrollPosition(QPoint position);
    // The visible part of the view: its rectangle less the scroll bars shown.
    QRect visibleRect() const;
    QScrollBar* horizontalScrollBar() const { return hbar_; }
    QScrollBar* verticalScrollBar() const { return vbar_; }
    // The largest client area the window around the view can give it (set by that window);
    // the zoom that shows the whole stage fits the stage into it.
    std::function<QSize()> roomForStage;
    // The window's room changed (the MDI area was resized): a view showing the whole stage
    // (as it opened, or after Ctrl+9) and not zoomed since shows it whole in the new room.
    void roomChanged();
    // Puts the properties panel (when open) beside this view's stage window again, clear of
    // the other stage windows where the screen has room.
    void placePropertiesPanel();
    // The zoom at which the whole stage fits in `room` view pixels (1 before there is a stage).
    StageZoom fitZoom(QSize room) const;
    // The hint shown in the window of a stage without a picture.
    static QString startHintText();
    // The client area the view's next paint will ask its window for (the stage's picture
    // width x (picture height + barSpace) at the view's zoom), known without painting; empty
    // when that paint fits nothing (no picture, a block size of 0). A window that takes
    // this size before it is first shown says so with clientSizeGiven(): the first paint
    // then shows the fitted stage, with no window resize and second paint after it.
    QSize stageClientSize() const;
    // The window around the view has this client size for the stage already: a paint that
    // asks for it asks for nothing.
    void clientSizeGiven(QSize client) { lastFit_ = client; }

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
    // The zoom changed (the status bar shows it).
    void zoomChanged(StageZoom zoom);
    // The cell under the pointer and, while a rectangle is dragged, its size: "(x, y) kind",
    // "W × H"; empty when the pointer is over no cell of the stage.
    void pointerStatus(const QString& text);
    // The drawing tool or the block kind changed.
    void toolStateChanged();
    // The selection or the floating paste changed (what the edit commands can do changes).
    void selectionChanged();
    // One of the view's tool panels opened or closed.
    void toolPanelsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // PendingScriptSource: the script in this view's event tool, when the document is to
    // take it from this view.
    std::optional<std::string> pendingScript(bool quiet) override;

    // ToolHost: what the drawing tools do to this view's stage (mouseplacement.cpp).
    CellCode chosenKind() const override;
    void chooseKind(CellCode kind) override;
    CellCode cell(GridCell at) const override;
    CellWriter& beginStroke(const QString& action) override;
    void cellsWritten(const CellRect& cells) override;
    void endStroke() override;
    void cancelStroke() override;
    std::optional<CellRect> selection() const override { return selection_; }
    bool duplicating() const override { return pressDuplicates_; }
    void liftSelection(bool duplicate) override;
    void dropLifted(int dx, int dy) override;

    // Writes `block` at (x, y) as one undo step named `action`, the selection then covering
    // what was written; the status bar says how many cells fell outside the stage.
    void pasteBlock(const CellBlock& block, int x, int y, const QString& action);
    // Moves the floating paste's corner to the cell under `pos`.
    void floatTo(QPointF pos);
    // The selection outline and the floating paste, over the painted stage.
    void drawSelection(QPainter& painter);
    // Moves the selected cells by (dx, dy) (the arrow keys), one undo step.
    void nudgeSelection(int dx, int dy);
    // The cell a tool is given for `pos`: held to the stage's cells while a drag spans a
    // rectangle (a release outside the view ends it at the stage's edge).
    std::optional<GridCell> toolCellAt(QPointF pos) const;
    // The drag rectangle follows the tool's overlay; the status bar its size.
    void syncOverlay(const PixelRect& before);
    // Tells the cell under `pos` (pointerStatus).
    void showPointer(QPointF pos);
    // While a drag goes past an edge of the visible part, the view scrolls towards it.
    void autoScroll();
    // Keys that choose a tool or a kind (T B R F E I, 1..8); true when `event` was one.
    bool chooseByKey(QKeyEvent* event);
    // The device rectangle of the canvas showing `cells`.
    PixelRect cellsDevice(const CellRect& cells) const;
    // Paints again only the frame pixels showing dirtyCells_, when nothing but cells changed
    // since the last paint; false when the frame must be painted whole.
    bool repaintDirtyCells(const PaintInputs& inputs);
    // Command handlers (viewcommands.cpp).
    void onProperties();
    // Puts the properties panel beside this view's stage window where the screen has room.
    void placeBesideStage(CPropertyPanel* panel);
    // Opens the properties panel as the first paint does (run once the stage is painted at
    // its fitted size).
    void openFirstPanel();
    void onDocToPanel();
    void onPanelToDoc();
    void onPlacementTool();
    void onEventTool();
    void onHtmlExport();
    // The zoom commands. In, out and 100 % keep their zoom when the room changes; fit shows
    // the whole stage and keeps doing so as the room changes (roomChanged()).
    void onZoomIn();
    void onZoomOut();
    void onZoom100();
    void onZoomFit();
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
    // The zoom that shows the whole stage in the room the window can give.
    void zoomToFit();

    // Scrolling and zoom (viewport.cpp). layoutScrollBars() shows the scroll bars the canvas
    // needs and sets their ranges; it runs on a resize, a zoom and a change of stage size.
    void layoutScrollBars();
    // The device pixels of one view pixel, as an exact fraction.
    StageZoom deviceScale() const;
    // Where the paint of the visible part lands (device pixels).
    PaintArea paintArea(QSize frameDevice) const;
    // The drag rectangle in device pixels of the canvas.
    PixelRect dragRectangleDevice() const;
    // Repaints what a change of the drag rectangle from `before` touches.
    void updateDragChange(const PixelRect& before);
    // A device rectangle of the frame as view pixels (rounded outwards).
    QRect frameToView(const PixelRect& frame) const;

    StageDocument* document_;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    StageZoom zoom_;
    QSize laidOutStage_{-2, -2};       // the stage size the scroll bars were laid out for
    QSize lastFit_;                    // the client size last asked of the window around the view
    bool fitPending_ = false;          // a fitting of the window is posted and has not run yet
    bool placePanelAfterFit_ = false;  // the properties panel goes beside the fitted window
    bool openPanelAfterPaint_ = false; // the first paint's properties panel is still to open
    bool zoomChosen_ = false;          // the zoom a stage opens at has been chosen
    bool showingWhole_ = false;        // the zoom is the whole-stage zoom, kept as the room changes
    int wheelZoom_ = 0;                // Ctrl+wheel turns not yet a whole notch
    FrameBuffer frame_;
    PaintArea frameArea_;   // where frame_ was painted
    PixelRect frameDrag_{}; // the drag rectangle drawn into frame_ (canvas device pixels)
    StagePainter painter_;
    // What frame_ was last painted from, and that paint's result.
    std::unique_ptr<PaintInputs> lastPaint_;
    PaintResult lastResult_;
    bool showsFittedStage_ = false;

    ToolId toolId_ = ToolId::Toggle;
    std::unique_ptr<StageTool> tool_;
    std::unique_ptr<StageEdit> stroke_; // the undo step of the press-to-release in progress
    std::unique_ptr<CellWriter> writer_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    QPointF lastPointer_;
    QTimer* scrollTimer_ = nullptr;
    CellRect dirtyCells_;  // cells changed since the last paint
    QString shownPointer_; // the last pointerStatus text

    std::optional<CellRect> selection_;
    struct Floating {
        CellBlock block;
        GridCell at; // its top-left cell
    };
    std::optional<Floating> floating_;
    bool pressDuplicates_ = false;
    // A selection lifted by the select tool: its cells and where they were.
    std::optional<Floating> lifted_;
    bool liftedDuplicate_ = false;
};
