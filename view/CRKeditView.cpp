#include "view/CRKeditView.h"

#include <QColor>
#include <QImage>
#include <QMetaMethod>
#include <QMetaObject>
#include <QPainter>
#include <QVector>

#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "html/htmlexport.h"
#include "panels/eventtool.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "view/paintinputs.h"

namespace {
// Every living view in construction order; the last one is the current view.
QVector<CRKeditView*>& livingViews() {
    static QVector<CRKeditView*> views;
    return views;
}
} // namespace

CRKeditView::CRKeditView(StageDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    // Every paint covers the whole client area with the stage.
    setAttribute(Qt::WA_OpaquePaintEvent);
    livingViews().append(this);
    document_->addView(this);

    // The one place a change of the document repaints the view: the painted stage shows the
    // layout, the picture, the blocks and the game background (an export value).
    connect(document_, &StageDocument::stageChanged, this, [this](StageDocument::Scopes scopes) {
        using Scope = StageDocument::Scope;
        if (scopes & (Scope::Layout | Scope::Picture | Scope::Grid | Scope::Export))
            update();
    });
    connect(document_, &StageDocument::viewsUpdateRequested, this, &CRKeditView::OnUpdate);
    connect(document_, &StageDocument::pendingEditsRequested, this, &CRKeditView::commitToolEdits);
    // The script in the current view's event tool is the one a save takes.
    connect(document_, &StageDocument::pendingScriptRequested, this,
            [this](std::optional<std::string>* script, bool quiet) {
                if (current() == this && eventTool && !*script)
                    *script = eventTool->takeScript(quiet);
            });
}

CRKeditView::~CRKeditView() {
    // Close the tools through their own commands: the properties panel and the event tool
    // copy their contents into the document first.
    if (propertyPanel)
        runCommand(ID_PROPERTIES);
    if (placementTool)
        runCommand(ID_PLACEMENT_TOOL);
    if (eventTool)
        runCommand(ID_EVENT_TOOL);
    livingViews().removeOne(this);
    document_->removeView(this);
}

CRKeditView* CRKeditView::current() {
    const QVector<CRKeditView*>& views = livingViews();
    return views.isEmpty() ? nullptr : views.back();
}

CRKeditDoc* CRKeditView::GetDocument() const {
    return &document_->doc();
}

bool CRKeditView::handlesCommand(int id) {
    switch (id) {
    case ID_PROPERTIES:
    case ID_DOC_TO_PANEL:
    case ID_PANEL_TO_DOC:
    case ID_PLACEMENT_TOOL:
    case ID_EVENT_TOOL:
    case ID_HTML_EXPORT:
        return true;
    default:
        return false;
    }
}

void CRKeditView::runCommand(int id) {
    switch (id) {
    case ID_PROPERTIES:
        onProperties();
        break;
    case ID_DOC_TO_PANEL:
        onDocToPanel();
        break;
    case ID_PANEL_TO_DOC:
        onPanelToDoc();
        break;
    case ID_PLACEMENT_TOOL:
        onPlacementTool();
        break;
    case ID_EVENT_TOOL:
        onEventTool();
        break;
    case ID_HTML_EXPORT:
        onHtmlExport();
        break;
    default:
        break;
    }
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
        runCommand(ID_PROPERTIES);
        firstDraw = false;
    }
    takePictureFromPanel();

    CRKeditDoc& doc = *GetDocument();
    const int w = width();
    const int h = height();
    PaintResult result;
    if (w > 0 && h > 0) {
        // Paint the stage only when something it shows has changed; a moving drag rectangle
        // alone repaints from the last frame, within the region the move invalidated.
        PaintInputs inputs = PaintInputs::of(doc, picture, gridMode, referenceDisplay, w, h);
        if (!lastPaint_ || !(*lastPaint_ == inputs)) {
            frame_.resize(w, h);
            lastResult_ = painter_.paint(frame_, doc, picture, gridMode, referenceDisplay);
            lastPaint_ = std::make_unique<PaintInputs>(std::move(inputs));
        }
        result = lastResult_;
        const QImage image(reinterpret_cast<const uchar*>(frame_.pixels.data()), w, h,
                           w * int(sizeof(std::uint32_t)), QImage::Format_RGB32);
        QPainter painter(this);
        painter.drawImage(0, 0, image);
        if (picture.empty())
            drawStartHint(painter);
        if (const QRect drag = dragRectanglePixels(); !drag.isEmpty()) {
            // XOR-ed over the painted stage: drawing it twice restores the picture.
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.fillRect(drag, QColor(0, 55, 205));
        }
    }

    showsFittedStage_ =
        w > 0 && h > 0 &&
        (!result.fitAndWriteBack || size() == QSize(result.fitWidth, result.fitHeight));
    if (result.fitAndWriteBack) {
        fitFrame(result.fitWidth, result.fitHeight);
        // The size write-back is no edit of the user's: it leaves the modified mark alone.
        writeBackPictureSize(doc, result);
        writeSizeToPanel(result.pictureWidth, result.pictureHeight);
    }
    emit painted();
}

void CRKeditView::drawStartHint(QPainter& painter) {
    // Over the stage as painted, never into the frame: the stage's pixels stay the game's.
    const QRect area = rect().adjusted(12, 12, -12, -12);
    if (area.width() < 40 || area.height() < 20)
        return;
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, startHintText());
}

QString CRKeditView::startHintText() {
    return QStringLiteral("ステージの画像がまだありません。\n"
                          "プロパティ（ツール → プロパティ）の「前景ファイル」の横のボタンで"
                          "JPEG ファイルを選ぶと、ここに表示され、ブロックを配置できます。");
}

void CRKeditView::fitFrame(int width, int height) {
    const QSize client(width, height);
    if (size() == client)
        return;
    // Resizing the window from inside its own paint leaves the newly exposed part unpainted
    // on X11: the window is resized as soon as this paint has returned, then painted whole.
    QMetaObject::invokeMethod(
        this,
        [this, client] {
            // The window around the view sizes itself; a view on its own takes the size.
            if (isSignalConnected(QMetaMethod::fromSignal(&CRKeditView::clientSizeWanted)))
                emit clientSizeWanted(client);
            else
                resize(client);
            update();
        },
        Qt::QueuedConnection);
}
