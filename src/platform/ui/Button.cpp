#include "platform/ui/Button.h"

#include <QDialog>

#include "platform/Codepage.h"
#include "platform/ui/Application.h"

TButton::TButton(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, [this] { platform::Guarded([this] { Click(); }); });
}

void TButton::SetCaption(std::string_view caption) {
    setText(platform::ToQt(caption));
}

void TButton::Click() {
    if (modalResult_ == mrNone)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(modalResult_);
}
