#include "platform/ui/EditText.h"

#include <QLineEdit>

#include "platform/Codepage.h"

namespace platform {
namespace {

constexpr const char* kGivenText = "sporvikGivenText";
constexpr const char* kWatched = "sporvikGivenTextWatched";

// Any change of the text that SetEditText does not make, typed or set by
// code, lets go of the name given.
void ForgetGivenTextOnChange(QLineEdit* edit) {
    if (edit->property(kWatched).toBool())
        return;
    edit->setProperty(kWatched, true);
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit] { edit->setProperty(kGivenText, QVariant()); });
}

} // namespace

void SetEditText(QLineEdit* edit, std::string_view ansi) {
    ForgetGivenTextOnChange(edit);
    edit->setText(ToQt(ansi));
    edit->setProperty(kGivenText, QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size())));
}

std::string EditText(const QLineEdit* edit) {
    const QVariant given = edit->property(kGivenText);
    if (given.isValid())
        return given.toByteArray().toStdString();
    return FromQt(edit->text());
}

} // namespace platform
