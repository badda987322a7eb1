// The start-up baseline: the least a Qt Widgets program with the editor's window does before
// its first paint. A main window of the editor's size with an MDI area, a menu bar, a status
// bar and one 640 x 630 sub-window whose contents paint a picture-sized image; it quits once
// that paint is not followed by another one in the same turn of the event loop, as
// `rkedit --quit-after-first-paint` does. scripts/startup-time.sh times both.
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {
class Contents : public QWidget {
public:
    explicit Contents(QTimer* quit) : quit_(quit) {
        image_ = QImage(640, 630, QImage::Format_RGB32);
        image_.fill(QColor(64, 128, 192));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, image_);
        paintedAt = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
        quit_->start();
    }

public:
    long long paintedAt = 0; // when the last paint ended: microseconds since the epoch

private:
    QTimer* quit_;
    QImage image_;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTimer quit;
    quit.setSingleShot(true);
    quit.setInterval(0);
    Contents* contents = nullptr;
    QObject::connect(&quit, &QTimer::timeout, [&contents] {
        std::fprintf(stderr, "bareqt: painted at %lld us\nbareqt: quit after a paint\n",
                     contents->paintedAt);
        QCoreApplication::exit(0);
    });
    QMainWindow window;
    auto* area = new QMdiArea;
    window.setCentralWidget(area);
    for (const char* title : {"File", "Edit", "View", "Tools", "Window", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("..."));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    contents = new Contents(&quit);
    QMdiSubWindow* sub = area->addSubWindow(contents);
    contents->setFixedSize(640, 630);
    sub->show();
    // As the editor opens on its first start: the screen's whole available area. A window of
    // another size would paint, and send to the display, another number of pixels.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window.move(available.topLeft());
        window.resize(available.size());
    }
    window.show();
    return QApplication::exec();
}
