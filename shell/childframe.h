#pragma once

#include <QMdiSubWindow>

#include <functional>

class CRKeditView;
class StageDocument;

// A stage window: one view on one document. It has no sizing border: its size follows the
// stage (the view fits it to the picture plus the paddle area), not the user's drag.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(StageDocument* document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CRKeditView* view() const { return view_; }
    StageDocument* document() const { return document_; }

    // Sizes the window so that the view's client area is `client`.
    void fitClientArea(QSize client);

    // Asked before the window closes when it is the last window of its document; false
    // keeps it open. Not asked while `closeWithoutAsking` is set.
    std::function<bool(StageDocument*)> canCloseDocument;
    bool closeWithoutAsking = false;

    // Client size of a stage window that shows no picture yet.
    static QSize defaultClientSize() { return {480, 360}; }

    // Sets the title: the document's title, ":n" when the document has several windows, and
    // the modified marker.
    void updateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Sizes the window around client_ with the frame's margins as they are now.
    void applyClientSize();

    QSize client_;
    StageDocument* document_;
    CRKeditView* view_;
};
