#include "shell/filedrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "shell/documentmanager.h"

FileDrop::FileDrop(QWidget* window, DocumentManager* documents)
    : QObject(window), documents_(documents) {
    // Widgets inside the window that take no drops themselves pass them up to it.
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QStringList FileDrop::localFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isDir())
            return {};
        files << path;
    }
    return files;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localFiles(drag->mimeData()).isEmpty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // Opened after the drop has finished: a message about a file that cannot be read
        // must not run inside the drag source's loop.
        QTimer::singleShot(0, documents_, [documents = documents_, files] {
            for (const QString& file : files)
                documents->openDocument(file);
        });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
