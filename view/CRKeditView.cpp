#include "view/CRKeditView.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QMetaMethod>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <algorithm>
#include <map>

#include "document/coretexts.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "html/htmlexport.h"
#include "panels/eventtool.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "stage/CRKeditDoc.h"
#include "stage/cellwriter.h"
#include "stage/settingtext.h"
#include "view/paintinputs.h"
#include "view/zoomsteps.h"

namespace {
// A length in view pixels at `scale`, held to what a widget or a frame can take.
int clampedDevice(const StageZoom& scale, int length) {
    return int(std::clamp<std::int64_t>(scale.toDevice(length), 0, 1 << 24));
}

// Every living view in construction order.
QVector<CRKeditView*>& livingViews() {
    static QVector<CRKeditView*> views;
    return views;
}

std::function<CRKeditView*()>& activeViewSource() {
    static std::function<CRKeditView*()> source;
    return source;
}
} // namespace

CRKeditView::CRKeditView(StageDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    // Every paint covers the whole client area with the stage.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keys scroll the view: it takes the focus by a click or a tab.
    setFocusPolicy(Qt::StrongFocus);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    hbar_->hide();
    vbar_->hide();
    for (QScrollBar* bar : {hbar_, vbar_}) {
        // The bars are the view's own scrolling; they do not take the keyboard from it.
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] { update(visibleRect()); });
    }
    livingViews().append(this);
    document_->addView(this);
    tool_ = StageTool::make(toolId_);
    // The status bar tells the cell under the pointer whether a button is held or not.
    setMouseTracking(true);
    scrollTimer_ = new QTimer(this);
    scrollTimer_->setInterval(40);
    connect(scrollTimer_, &QTimer::timeout, this, &CRKeditView::autoScroll);

    // The one place a change of the document repaints the view: the painted stage shows the
    // layout, the picture, the blocks and the game background (an export value).
    connect(document_, &StageDocument::stageChanged, this, [this](StageDocument::Scopes scopes) {
        using Scope = StageDocument::Scope;
        // Changed cells were told before (cellsChanged) and repaint only their part.
        if (scopes & (Scope::Layout | Scope::Picture | Scope::Export) ||
            (scopes & Scope::Grid && dirtyCells_.empty()))
            update();
    });
    connect(document_, &StageDocument::cellsChanged, this, [this](const CellRect& cells) {
        dirtyCells_ = dirtyCells_.united(cells);
        const PixelRect device = cellsDevice(cells);
        if (!device.empty())
            update(frameToView(device).intersected(visibleRect()));
    });
    connect(document_, &StageDocument::viewsUpdateRequested, this, &CRKeditView::OnUpdate);
    connect(document_, &StageDocument::pendingEditsRequested, this, &CRKeditView::commitToolEdits);
    document_->addScriptSource(this);
}

std::optional<std::string> CRKeditView::pendingScript(bool quiet) {
    // The script in the current view's event tool is the one a save takes; when the current
    // view shows another stage (or has no event tool), that of the first of this stage's
    // views with one open, so that a recovery copy made while another stage's window is
    // active keeps the text typed here.
    if (!eventTool)
        return std::nullopt;
    const CRKeditView* active = current();
    const bool activeAnswers = active && active->stageDocument() == document_ && active->eventTool;
    if (active == this || !activeAnswers)
        return eventTool->takeScript(quiet);
    return std::nullopt;
}

CRKeditView::~CRKeditView() {
    // A stroke still in progress keeps what it wrote as its undo step.
    if (stroke_)
        endStroke();
    // Close the tools through their own commands: the properties panel and the event tool
    // copy their contents into the document first.
    if (propertyPanel)
        runCommand(ID_PROPERTIES);
    if (placementTool)
        runCommand(ID_PLACEMENT_TOOL);
    if (eventTool)
        runCommand(ID_EVENT_TOOL);
    livingViews().removeOne(this);
    document_->removeScriptSource(this);
    document_->removeView(this);
}

CRKeditView* CRKeditView::current() {
    const QVector<CRKeditView*>& views = livingViews();
    if (const auto& source = activeViewSource())
        if (CRKeditView* active = source(); active && views.contains(active))
            return active;
    return views.isEmpty() ? nullptr : views.back();
}

void CRKeditView::setActiveViewSource(std::function<CRKeditView*()> source) {
    activeViewSource() = std::move(source);
}

namespace {
bool& docked() {
    static bool panels = false;
    return panels;
}
} // namespace

void CRKeditView::setPanelsDocked(bool panelsDocked) {
    docked() = panelsDocked;
}

bool CRKeditView::panelsDocked() {
    return docked();
}

QWidget* CRKeditView::toolPanel(int commandId) const {
    switch (commandId) {
    case ID_PROPERTIES:
        return propertyPanel;
    case ID_PLACEMENT_TOOL:
        return placementTool;
    case ID_EVENT_TOOL:
        return eventTool;
    default:
        return nullptr;
    }
}

void CRKeditView::currentChanged() {
    const CRKeditView* view = current();
    if (!view)
        return;
    for (CRKeditView* other : livingViews())
        if (other->placementTool)
            other->placementTool->initialise(view->blockKind, view->referenceDisplay,
                                             view->gridMode, int(view->toolId_));
}

void CRKeditView::setTool(ToolId id) {
    if (id == toolId_)
        return;
    const PixelRect before = dragRectangleDevice();
    tool_->cancel(*this);
    toolId_ = id;
    tool_ = StageTool::make(id);
    syncOverlay(before);
    emit toolStateChanged();
    if (current() == this)
        currentChanged();
}

void CRKeditView::setBlockKind(int kind) {
    if (!BlockKinds::placeable(kind) || kind == blockKind)
        return;
    blockKind = kind;
    emit toolStateChanged();
    if (current() == this)
        currentChanged();
}

QString CRKeditView::codeName(CellCode code) {
    if (code == 0)
        return coreText(BlockKinds::emptyName());
    if (const BlockKind* kind = BlockKinds::find(code))
        return coreText(kind->name);
    return QCoreApplication::translate("View", "コード %1").arg(code);
}

std::pair<int, QString> CRKeditView::countBlocks() const {
    const CRKeditDoc& doc = *GetDocument();
    const CellRect stage = CellWriter::stageOf(doc);
    std::map<CellCode, int> counts;
    int total = 0;
    for (int x = stage.x; x < stage.right(); ++x)
        for (int y = stage.y; y < stage.bottom(); ++y)
            if (const CellCode code = doc.cell(x, y); code != 0) {
                ++counts[code];
                ++total;
            }
    QStringList parts;
    for (const auto& [code, count] : counts) {
        parts.append(QStringLiteral("%1 %2").arg(codeName(code)).arg(count));
    }
    return {total, parts.join(QCoreApplication::translate("View", "、"))};
}

CRKeditDoc* CRKeditView::GetDocument() const {
    return &document_->doc();
}

std::span<const CRKeditView::Command> CRKeditView::commands() {
    static constexpr Command table[] = {
        {ID_PROPERTIES, &CRKeditView::onProperties},
        {ID_DOC_TO_PANEL, &CRKeditView::onDocToPanel},
        {ID_PANEL_TO_DOC, &CRKeditView::onPanelToDoc},
        {ID_HTML_EXPORT, &CRKeditView::onHtmlExport},
        {ID_PLACEMENT_TOOL, &CRKeditView::onPlacementTool},
        {ID_EVENT_TOOL, &CRKeditView::onEventTool},
        {ID_VIEW_ZOOM_IN, &CRKeditView::onZoomIn},
        {ID_VIEW_ZOOM_OUT, &CRKeditView::onZoomOut},
        {ID_VIEW_ZOOM_100, &CRKeditView::onZoom100},
        {ID_VIEW_ZOOM_FIT, &CRKeditView::onZoomFit},
    };
    return table;
}

void CRKeditView::runCommand(int id) {
    for (const Command& command : commands())
        if (command.id == id) {
            (this->*command.run)();
            return;
        }
}

void CRKeditView::onZoomIn() {
    showingWhole_ = false;
    setZoom(ZoomSteps::larger(zoom_));
}

void CRKeditView::onZoomOut() {
    showingWhole_ = false;
    setZoom(ZoomSteps::smaller(zoom_));
}

void CRKeditView::onZoom100() {
    showingWhole_ = false;
    setZoom(StageZoom());
}

void CRKeditView::onZoomFit() {
    zoomToFit();
}

void CRKeditView::postCommand(int id) {
    // Queued on this view: dropped with it if the view goes first.
    QMetaObject::invokeMethod(
        this, [this, id] { runCommand(id); }, Qt::QueuedConnection);
}

void CRKeditView::onHtmlExport() {
    // The page is made from what the open panels show.
    document_->takePendingEdits();
    // The export values are part of the stage: storing different ones is one undo step.
    StageEdit edit(*document_, StageEdit::Kind::ExportValues);
    runHtmlExport(window(), *GetDocument(), document_->filePath());
    edit.commit();
}

void CRKeditView::OnUpdate() {
    runCommand(ID_DOC_TO_PANEL);
}

void CRKeditView::commitToolEdits() {
    runCommand(ID_PANEL_TO_DOC);
    if (std::optional<std::string> script = takeEventToolScript()) {
        StageEdit edit(*document_, StageEdit::Kind::Script);
        GetDocument()->command = *script;
        edit.commit();
    }
}

void CRKeditView::paintEvent(QPaintEvent*) {
    if (firstDraw) {
        // The first paint opens the properties panel; it is made once the stage has been
        // painted at its fitted size (below), so that the stage shows first.
        firstDraw = false;
        openPanelAfterPaint_ = true;
    }
    takePictureFromPanel();

    const CRKeditDoc& doc = *GetDocument();
    // A stage of another size (a new picture, another paddle area) has other scroll ranges.
    if (stageSize() != laidOutStage_)
        layoutScrollBars();
    const QRect visible = visibleRect();
    const StageZoom scale = deviceScale();
    const int w = clampedDevice(scale, visible.width());
    const int h = clampedDevice(scale, visible.height());
    PaintResult result;
    QPainter painter(this);
    if (w > 0 && h > 0) {
        // Paint the visible part only when something it shows has changed; a moving drag
        // rectangle alone changes the pixels it leaves or newly covers in the last frame.
        PaintInputs inputs = PaintInputs::of(doc, picture, gridMode, referenceDisplay, w, h);
        inputs.area = paintArea(QSize(w, h));
        if (lastPaint_ && !(*lastPaint_ == inputs) && repaintDirtyCells(inputs)) {
            lastPaint_->block = inputs.block;
        } else if (!lastPaint_ || !(*lastPaint_ == inputs)) {
            frame_.resize(w, h);
            lastResult_ =
                painter_.paintRegion(frame_, doc, picture, gridMode, referenceDisplay, inputs.area);
            frameArea_ = inputs.area;
            frameDrag_ = {};
            lastPaint_ = std::make_unique<PaintInputs>(std::move(inputs));
        }
        result = lastResult_;
        // XOR-ed over the painted stage: drawing it twice restores the picture.
        if (const PixelRect drag = dragRectangleDevice(); !(drag == frameDrag_)) {
            StagePainter::moveDragRectangle(frame_, frameArea_, frameDrag_, drag);
            frameDrag_ = drag;
        }
        QImage image(reinterpret_cast<const uchar*>(frame_.pixels.data()), w, h,
                     w * int(sizeof(std::uint32_t)), QImage::Format_RGB32);
        image.setDevicePixelRatio(double(scale.num()) / double(scale.den()));
        painter.drawImage(visible.topLeft(), image);
        painter.setClipRect(visible);
        drawSelection(painter);
        painter.setClipping(false);
        if (picture.empty())
            drawStartHint(painter);
    }
    if (!hbar_->isHidden() && !vbar_->isHidden()) // the corner between the two bars
        painter.fillRect(QRect(vbar_->x(), hbar_->y(), vbar_->width(), hbar_->height()),
                         palette().window());

    if (result.fitAndWriteBack && !zoomChosen_) {
        // A stage opens at 100 % when it fits the room its window can have, else at the
        // zoom that shows it whole.
        zoomChosen_ = true;
        if (roomForStage) {
            const QSize room = roomForStage();
            if (result.fitWidth > room.width() || result.fitHeight > room.height())
                zoomToFit();
        }
    }
    if (result.fitAndWriteBack) {
        fitFrame(clampedDevice(zoom_, result.fitWidth), clampedDevice(zoom_, result.fitHeight));
        // The document has the picture's size already (StageDocument::fitPictureSize); the
        // open panel shows it.
        writeSizeToPanel(result.pictureWidth, result.pictureHeight);
    }
    // The stage as its window was fitted to it: no fitting is still on its way.
    showsFittedStage_ = w > 0 && h > 0 && (!result.fitAndWriteBack || !fitPending_);
    if (openPanelAfterPaint_ && !fitPending_) {
        openPanelAfterPaint_ = false;
        QMetaObject::invokeMethod(
            this, [this] { openFirstPanel(); }, Qt::QueuedConnection);
    }
    dirtyCells_ = {};
    emit painted();
}

void CRKeditView::drawStartHint(QPainter& painter) {
    // Over the stage as painted, never into the frame: the stage's pixels stay the game's.
    const QRect area = visibleRect().adjusted(12, 12, -12, -12);
    if (area.width() < 40 || area.height() < 20)
        return;
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, startHintText());
}

QString CRKeditView::startHintText() {
    return QCoreApplication::translate(
        "View", "ステージの画像がまだありません。\n"
                "プロパティ（ツール → プロパティ）の「前景ファイル」の横のボタンで"
                "JPEG ファイルを選ぶと、ここに表示され、ブロックを配置できます。");
}

QSize CRKeditView::stageClientSize() const {
    // The paint's outcome and sizes come from the settings and the picture alone: a paint
    // onto no frame decides them.
    const CRKeditDoc& doc = *GetDocument();
    FrameBuffer none;
    const PaintResult result =
        StagePainter().paint(none, doc, doc.picture, gridMode, referenceDisplay);
    if (!result.fitAndWriteBack)
        return {};
    return {clampedDevice(zoom_, result.fitWidth), clampedDevice(zoom_, result.fitHeight)};
}

void CRKeditView::fitFrame(int width, int height) {
    const QSize client(width, height);
    // The window around the view is asked once for each size the stage wants: it may give
    // less (the room there is), and the view then scrolls.
    const bool framed = isSignalConnected(QMetaMethod::fromSignal(&CRKeditView::clientSizeWanted));
    if (lastFit_ == client)
        return;
    // A view on its own (no window around it) takes the size of its first fitted stage
    // only; it keeps the size it is given after that and scrolls.
    const bool first = !lastFit_.isValid();
    lastFit_ = client;
    if (!framed && (!first || size() == client))
        return;
    // Resizing the window from inside its own paint leaves the newly exposed part unpainted
    // on X11: the window is resized as soon as this paint has returned, then painted whole.
    fitPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, client, framed] {
            fitPending_ = false;
            // The window around the view sizes itself; a view on its own takes the size.
            if (framed)
                emit clientSizeWanted(client);
            else
                resize(client);
            // A panel opened before the window had its stage's size goes beside the
            // window as it now is.
            if (placePanelAfterFit_ && propertyPanel)
                placeBesideStage(propertyPanel);
            placePanelAfterFit_ = false;
            update();
        },
        Qt::QueuedConnection);
}

void CRKeditView::zoomToFit() {
    // The room is the window's largest client area when there is a window to ask.
    QSize room = visibleRect().size();
    if (roomForStage)
        room = roomForStage();
    setZoom(fitZoom(room));
    showingWhole_ = true;
}

void CRKeditView::restoreZoom(const StageZoom& zoom, bool showingWhole) {
    // A view that followed the room takes the fit for the room it has now.
    if (showingWhole) {
        zoomToFit();
        return;
    }
    showingWhole_ = false;
    setZoom(zoom);
}

void CRKeditView::roomChanged() {
    if (showingWhole_ && roomForStage && fitZoom(roomForStage()) != zoom_)
        zoomToFit();
}
