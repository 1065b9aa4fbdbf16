#include "platform/ui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/Codepage.h"

namespace platform {

void SetClipboardText(std::string_view ansi) {
    // A fresh QMimeData drops every format that was there before.
    auto* data = new QMimeData;
    data->setText(ToHostText(ansi)); // names as they are, not as a widget shows them
    QGuiApplication::clipboard()->setMimeData(data);
}

void SetClipboardBitmap(const QImage& bitmap) {
    if (bitmap.isNull()) {
        QGuiApplication::clipboard()->clear();
        return;
    }
    auto* data = new QMimeData;
    // copy() detaches now; sharing the button's pixels would tie the two.
    data->setImageData(bitmap.copy());
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace platform
