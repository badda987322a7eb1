#include "shell/childframe.h"

#include <QCloseEvent>
#include <QLayout>

#include "document/stagedocument.h"
#include "shell/icons.h"
#include "view/CRKeditView.h"

CChildFrame::CChildFrame(StageDocument* document, QWidget* parent)
    : QMdiSubWindow(parent), document_(document) {
    setAttribute(Qt::WA_DeleteOnClose);
    // No sizing border (the fixed-size hint takes the resize handles and the system menu's
    // size entry away), and no maximise button: such a window has no larger size to go to.
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(stageWindowIcon());
    view_ = new CRKeditView(document, this);
    setWidget(view_);
    connect(view_, &CRKeditView::clientSizeWanted, this, &CChildFrame::fitClientArea);
    fitClientArea(defaultClientSize());

    connect(document, &StageDocument::titleChanged, this, &CChildFrame::updateTitle);
    connect(document, &StageDocument::viewsChanged, this, &CChildFrame::updateTitle);
    connect(document, &StageDocument::modifiedChanged, this, &CChildFrame::updateTitle);
    updateTitle();
}

CChildFrame::~CChildFrame() {
    // The view goes first, while this frame is whole; what its closing tools store in the
    // document no longer reaches this frame's title.
    disconnect(document_, nullptr, this, nullptr);
    CRKeditView* view = view_;
    view_ = nullptr;
    setWidget(nullptr);
    delete view;
}

void CChildFrame::fitClientArea(QSize client) {
    client_ = client;
    applyClientSize();
}

void CChildFrame::applyClientSize() {
    if (view_ == nullptr || isMinimized())
        return; // the frame keeps its icon size; restoring brings back the fitted size
    const QSize client = client_;
    // The frame around the view: the sub-window's contents margins (title bar and border)
    // plus its layout's margins.
    QMargins margins = contentsMargins();
    if (layout() != nullptr)
        margins += layout()->contentsMargins();
    const QSize outer(client.width() + margins.left() + margins.right(),
                      client.height() + margins.top() + margins.bottom());
    view_->setFixedSize(client);
    // A fixed size is what takes the sizing border away: the frame offers no drag handles.
    setFixedSize(outer);
}

void CChildFrame::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    // The title bar and border are known only once the window is polished and shown.
    applyClientSize();
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        applyClientSize();
}

void CChildFrame::updateTitle() {
    if (view_ == nullptr)
        return;
    QString title = document_->title();
    const qsizetype count = document_->views().size();
    if (count > 1)
        title += QStringLiteral(":%1").arg(document_->views().indexOf(view_) + 1);
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    const bool lastWindow = document_->views().size() == 1;
    if (lastWindow && !closeWithoutAsking && canCloseDocument && !canCloseDocument(document_)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
