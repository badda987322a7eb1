#include "shell/testevents.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

namespace {

// A window's title as the window manager shows it: the "[*]" placeholder becomes "*" while
// the window is marked modified.
QString shownTitle(const QWidget* w) {
    QString title = w->windowTitle();
    title.replace(QLatin1String("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

// The stage window (MDI child) holding `w`, or null.
QMdiSubWindow* stageWindowOf(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    return nullptr;
}

bool isStageView(const QWidget* w) {
    return w->inherits("CRKeditView") ||
           (w->parentWidget() && w->parentWidget()->inherits("CRKeditView"));
}

class TestEventReporter : public QObject {
public:
    explicit TestEventReporter(const QString& path) : QObject(qApp), file_(path) {
        file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    }

    void report(const QString& line) {
        QString oneLine = line;
        oneLine.replace(QLatin1Char('\n'), QLatin1String(" / "));
        file_.write((oneLine + QLatin1Char('\n')).toUtf8());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w)
            return false;
        switch (event->type()) {
        case QEvent::Paint:
            if (isStageView(w)) {
                // Reported once the paint is over and its picture has been handed to the
                // window system: the queue runs the report after the whole update.
                QPointer<QWidget> painted(w);
                QTimer::singleShot(0, this, [this, painted] {
                    if (QMdiSubWindow* sub = painted ? stageWindowOf(painted) : nullptr) {
                        const QPoint at = painted->mapToGlobal(QPoint(0, 0));
                        report(QStringLiteral("paint %1 @ %2 %3 %4 %5")
                                   .arg(shownTitle(sub))
                                   .arg(at.x())
                                   .arg(at.y())
                                   .arg(painted->width())
                                   .arg(painted->height()));
                    }
                });
            }
            break;
        case QEvent::Show:
            if (auto* menu = qobject_cast<QMenu*>(w))
                // Shown as a popup: the keys that follow go to it.
                report(QStringLiteral("menu ") + menu->title());
            else if (auto* box = qobject_cast<QMessageBox*>(w))
                report(QStringLiteral("dialog %1 | %2").arg(box->windowTitle(), box->text()));
            else if (qobject_cast<QDialog*>(w) && !w->isWindow()) {
                // A tool panel in a dock of the main window.
                report(QStringLiteral("dialog %1 | ").arg(w->windowTitle()));
                reportControlsLater(w);
            } else if (qobject_cast<QDialog*>(w) && w->isWindow()) {
                report(QStringLiteral("dialog %1 | ").arg(w->windowTitle()));
                // Where its numbered buttons are, once it is laid out and placed.
                QPointer<QWidget> dialog(w);
                QTimer::singleShot(0, this, [this, dialog] {
                    if (dialog)
                        reportControls(dialog);
                });
            } else if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
                report(QStringLiteral("window ") + shownTitle(sub));
            else if (auto* main = qobject_cast<QMainWindow*>(w); main && !watchedStatus_) {
                watchedStatus_ = true;
                connect(main->statusBar(), &QStatusBar::messageChanged, this,
                        [this](const QString& text) {
                            if (!text.isEmpty())
                                report(QStringLiteral("status ") + text);
                        });
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // A docked panel moves with the main window and with its dock.
            if (w->isVisible() && (qobject_cast<QMainWindow*>(w) || qobject_cast<QDockWidget*>(w)))
                for (QDialog* panel : w->findChildren<QDialog*>())
                    if (!panel->isWindow() && panel->isVisible())
                        reportControlsLater(panel);
            if (event->type() == QEvent::Resize)
                break;
            // The window manager places a dialog after it shows (its frame around it): the
            // buttons are reported again where they now are.
            if (qobject_cast<QDialog*>(w) && w->isWindow() && w->isVisible()) {
                QPointer<QWidget> dialog(w);
                QTimer::singleShot(0, this, [this, dialog] {
                    if (dialog)
                        reportControls(dialog);
                });
            }
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // "focus TITLE": the keys that follow go to this stage's view; "blur TITLE": no
            // longer (another widget or another window has the keyboard).
            if (isStageView(w))
                if (QMdiSubWindow* sub = stageWindowOf(w))
                    report((event->type() == QEvent::FocusIn ? QStringLiteral("focus ")
                                                             : QStringLiteral("blur ")) +
                           shownTitle(sub));
            break;
        case QEvent::WindowTitleChange:
        case QEvent::ModifiedChange:
            if (qobject_cast<QMainWindow*>(w))
                report(QStringLiteral("title ") + shownTitle(w));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void reportControlsLater(QWidget* dialog) {
        QPointer<QWidget> panel(dialog);
        QTimer::singleShot(0, this, [this, panel] {
            if (panel && panel->isVisible())
                reportControls(panel);
        });
    }
    // "control TITLE NAME X Y": the centre, on the screen, of each button of `dialog` named
    // after its control id ("c1054"), so a test can click it as a user would.
    void reportControls(QWidget* dialog) {
        for (QWidget* button : dialog->findChildren<QWidget*>()) {
            const QString name = button->objectName();
            if (!qobject_cast<QAbstractButton*>(button) && !qobject_cast<QLineEdit*>(button))
                continue;
            if (!name.startsWith(QLatin1Char('c')) || !button->isVisible())
                continue;
            const QPoint centre = button->mapToGlobal(button->rect().center());
            report(QStringLiteral("control %1 %2 %3 %4")
                       .arg(dialog->windowTitle(), name)
                       .arg(centre.x())
                       .arg(centre.y()));
        }
    }

    QFile file_;
    bool watchedStatus_ = false;
};

} // namespace

void installTestEventReporter() {
    const QString path = qEnvironmentVariable("RKEDIT_TEST_EVENTS");
    if (path.isEmpty())
        return;
    qApp->installEventFilter(new TestEventReporter(path));
}
