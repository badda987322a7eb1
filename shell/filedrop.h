#pragma once

#include <QObject>
#include <QStringList>

class DocumentManager;
class QMimeData;
class QWidget;

// Lets stage files be dropped onto the main window: each dropped file opens as Open would
// open it (a file already open gets its window activated). Anything that is not a local
// file is refused, so the pointer shows that it cannot be dropped.
class FileDrop : public QObject {
    Q_OBJECT
public:
    FileDrop(QWidget* window, DocumentManager* documents);

    // The local files `data` carries, in order; empty when it carries anything else.
    static QStringList localFiles(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentManager* documents_;
};
