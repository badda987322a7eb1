#include "view/cellclipboard.h"

#include "document/coretexts.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

void CellClipboard::put(const CellBlock& block, GridCell origin) {
    auto* data = new QMimeData;
    const std::string bytes = block.toBytes();
    data->setData(QString::fromLatin1(mimeType), QByteArray(bytes.data(), qsizetype(bytes.size())));
    data->setData(QString::fromLatin1(originType),
                  QStringLiteral("%1,%2").arg(origin.x).arg(origin.y).toLatin1());
    data->setText(QString::fromStdString(block.toText()));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<CellClipboard::Taken> CellClipboard::take(QString* why) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) {
        *why = QCoreApplication::translate("View", "クリップボードが空です。");
        return std::nullopt;
    }
    if (data->hasFormat(QString::fromLatin1(mimeType))) {
        const QByteArray bytes = data->data(QString::fromLatin1(mimeType));
        if (auto block = CellBlock::fromBytes(bytes.toStdString())) {
            Taken taken{std::move(*block), std::nullopt};
            const QList<QByteArray> at = data->data(QString::fromLatin1(originType)).split(',');
            bool okX = false, okY = false;
            if (at.size() == 2) {
                const int x = at[0].toInt(&okX), y = at[1].toInt(&okY);
                if (okX && okY)
                    taken.origin = GridCell{x, y};
            }
            return taken;
        }
    }
    if (!data->hasText()) {
        *why = QCoreApplication::translate("View", "クリップボードにセルがありません。");
        return std::nullopt;
    }
    Message error;
    if (auto block = CellBlock::fromText(data->text().toStdString(), &error))
        return Taken{std::move(*block), std::nullopt};
    *why = QCoreApplication::translate("View", "クリップボードの文字はセルとして読めません: %1")
               .arg(coreMessage(error));
    return std::nullopt;
}
