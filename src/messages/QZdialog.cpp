#include "messages/QZdialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "fileutils/FileUtils.h"
#include "platform/Codepage.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Button.h"
#include "platform/ui/EditText.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Label.h"
#include "platform/ui/MulDiv.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StockIcons.h"
#include "platform/ui/TextWrap.h"

using platform::MulDiv;

namespace {

struct ButtonSpec {
    const char* name;
    const char* caption;
    int result;
};

// Indexed by MessageButton.
constexpr std::array<ButtonSpec, 9> kButtons = {{
    {"Yes", "Yes", mrYes},
    {"No", "No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "Abort", mrAbort},
    {"Retry", "Retry", mrRetry},
    {"Ignore", "Ignore", mrIgnore},
    {"All", "All", mrAll},
    {"Help", "Help", mrNone},
}};

struct KindSpec {
    const char* caption;
    int icon;
};

// Indexed by MessageKind; Custom takes the application's title and no icon.
constexpr std::array<KindSpec, 5> kKinds = {{
    {"Warning", platform::IDI_EXCLAMATION},
    {"Error", platform::IDI_HAND},
    {"Information", platform::IDI_ASTERISK},
    {"Confirmation", platform::IDI_QUESTION},
    {nullptr, 0},
}};

const KindSpec& Kind(MessageKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return kKinds[index < kKinds.size() ? index : kKinds.size() - 1];
}

int HorzUnits(int units, QSize charSize) {
    return MulDiv(units, charSize.width(), 4);
}
int VertUnits(int units, QSize charSize) {
    return MulDiv(units, charSize.height(), 8);
}

// Room left for a window frame the window manager has not drawn yet.
constexpr int kFrameAllowance = 16;

// The size the text needs when broken into lines at blanks within half the
// screen's width; a single longer word widens it, but only as far as the
// dialog stays on the screen (`besideText` is what the dialog's width holds
// besides the text): a longer word is cut. The label draws the same lines,
// as both use WrapText.
QSize MeasureText(const QFont& font, const QString& text, int besideText) {
    const int widest = std::max(1, platform::ScreenWidth() - besideText - kFrameAllowance);
    return platform::WrapText(QFontMetrics(font), text, platform::ScreenWidth() / 2, widest).Size();
}

int CountButtons(MessageButtons buttons) {
    int count = 0;
    for (unsigned b = 0; b < kButtons.size(); ++b)
        count += buttons.Contains(static_cast<MessageButton>(b)) ? 1 : 0;
    return count;
}

int CharHeightOf(int fontHeight) {
    if (fontHeight == 0)
        return 11;
    // Only the size counts, not the sign; absurd sizes are capped.
    return static_cast<int>(std::min<long long>(std::llabs(fontHeight), 4096));
}

void AddIcon(TMessageForm& form, const MessageLayout& layout, int iconId) {
    auto* image = new QLabel(&form);
    image->setObjectName("Image_QZ1");
    image->setGeometry(layout.HorzMargin, layout.VertMargin, 32, 32);
    image->setPixmap(platform::LoadStockIcon(iconId));
}

} // namespace

MessageLayout MessageLayoutFor(QSize c) {
    return MessageLayout{HorzUnits(8, c),  VertUnits(8, c),  HorzUnits(10, c), VertUnits(10, c),
                         HorzUnits(50, c), VertUnits(14, c), HorzUnits(4, c)};
}

QSize AverageCharSize(const QFont& font) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(letters) / 52, metrics.height());
}

TMessageForm::TMessageForm(QWidget* parent) : TForm(parent) {}

void TMessageForm::HelpButtonClick() {
    platform::Application().HelpContext(HelpContext());
}

std::unique_ptr<TMessageForm> CreateMessageForm(const std::string& text, MessageKind kind,
                                                MessageButtons buttons, MessageButton defaultButton,
                                                bool showIcon, int fontHeight) {
    auto form = std::make_unique<TMessageForm>();
    form->setFont(platform::DesignFont("Arial", -CharHeightOf(fontHeight), true));
    const MessageLayout layout = MessageLayoutFor(AverageCharSize(form->font()));

    const QString shownText = platform::ToQt(text);
    const KindSpec& kindSpec = Kind(kind);
    const bool withIcon = showIcon && kindSpec.icon != 0;
    const int iconWidth = withIcon ? 32 + layout.HorzSpacing : 0;
    const QSize textSize = MeasureText(form->font(), shownText, iconWidth + 2 * layout.HorzMargin);
    const int iconTextWidth = textSize.width() + iconWidth;
    const int iconTextHeight = withIcon ? Max(textSize.height(), 32) : textSize.height();

    const int buttonCount = CountButtons(buttons);
    const int buttonGroupWidth = buttonCount == 0 ? 0
                                                  : buttonCount * layout.ButtonWidth +
                                                        (buttonCount - 1) * layout.ButtonSpacing;

    const int clientWidth = Max(iconTextWidth, buttonGroupWidth) + 2 * layout.HorzMargin;
    const int clientHeight =
        iconTextHeight + layout.ButtonHeight + layout.VertSpacing + 2 * layout.VertMargin;
    form->SetDialogBorder(clientWidth, clientHeight);
    // Placed again when shown, once the frame is there to count.
    form->SetPosition(TFormPosition::ScreenHalves);
    form->PlaceOnScreen();

    form->setWindowTitle(platform::ToQt(kindSpec.caption ? std::string(kindSpec.caption)
                                                         : platform::Application().Title()));
    if (withIcon)
        AddIcon(*form, layout, kindSpec.icon);

    auto* message = new TLabel(form.get());
    message->setObjectName("Message");
    message->setWordWrap(true);
    message->SetAutoSize(false);
    message->setText(shownText);
    message->setGeometry(iconTextWidth - textSize.width() + layout.HorzMargin, layout.VertMargin,
                         textSize.width(), textSize.height());

    int x = (clientWidth - buttonGroupWidth) / 2;
    const int y = iconTextHeight + layout.VertMargin + layout.VertSpacing;
    TButton* first = nullptr;
    for (unsigned b = 0; b < kButtons.size(); ++b) {
        const auto which = static_cast<MessageButton>(b);
        if (!buttons.Contains(which))
            continue;
        auto* button = new TButton(form.get());
        button->setObjectName(kButtons[b].name);
        button->SetCaption(kButtons[b].caption);
        button->SetModalResult(kButtons[b].result);
        button->setGeometry(x, y, layout.ButtonWidth, layout.ButtonHeight);
        if (which == MessageButton::Help)
            QObject::connect(button, &QPushButton::clicked, form.get(),
                             platform::GuardedCall(form.get(), &TMessageForm::HelpButtonClick));
        if (!first)
            first = button;
        if (which == defaultButton) {
            button->setDefault(true);
            button->SetCancel(true);
            form->SetActiveControl(button);
        }
        x += layout.ButtonWidth + layout.ButtonSpacing;
    }
    if (!buttons.Contains(defaultButton)) {
        if (buttons.Contains(MessageButton::OK) && !buttons.Contains(MessageButton::Cancel))
            form->findChild<TButton*>("OK")->SetCancel(true);
        form->SetActiveControl(first);
    }
    return form;
}

int MessageDialog(const std::string& text, MessageKind kind, MessageButtons buttons,
                  MessageButton defaultButton, bool showIcon, int fontHeight, int helpContext) {
    const std::unique_ptr<TMessageForm> form =
        CreateMessageForm(text, kind, buttons, defaultButton, showIcon, fontHeight);
    form->SetHelpContext(helpContext);
    return form->exec();
}

void ShowError(const std::string& text) {
    MessageDialog(text, MessageKind::Error, {MessageButton::OK}, MessageButton::OK);
}

void ShowWarning(const std::string& text) {
    MessageDialog(text, MessageKind::Warning, {MessageButton::OK}, MessageButton::OK);
}

void ShowInformation(const std::string& text) {
    MessageDialog(text, MessageKind::Information, {MessageButton::OK}, MessageButton::OK);
}

bool Confirm(const std::string& text, MessageButton defaultButton) {
    return MessageDialog(text, MessageKind::Confirmation, {MessageButton::Yes, MessageButton::No},
                         defaultButton) == mrYes;
}

bool ErrorAborts(const std::string& text) {
    return MessageDialog(text, MessageKind::Error, {MessageButton::Abort, MessageButton::Ignore},
                         MessageButton::Ignore) == mrAbort;
}

std::string OverwriteQuestion(const std::string& name) {
    return "File " + name + "\r\nalready exists. Overwrite?";
}

bool InputDialog(const std::string& caption, const std::string& prompt, std::string& value,
                 int helpContext) {
    TForm form;
    form.setFont(platform::DefaultFormFont());
    const QSize c = AverageCharSize(form.font());
    form.SetDialogBorder(HorzUnits(190, c), VertUnits(63, c));
    form.setWindowTitle(platform::ToQt(caption));
    form.SetPosition(TFormPosition::ScreenCenter);

    auto* promptLabel = new TLabel(&form);
    promptLabel->setObjectName("Prompt");
    promptLabel->SetCaption(prompt);
    promptLabel->move(HorzUnits(10, c), VertUnits(8, c));

    auto* edit = new QLineEdit(&form);
    edit->setObjectName("Edit");
    edit->setGeometry(promptLabel->x(), VertUnits(19, c), HorzUnits(170, c),
                      edit->sizeHint().height());
    const QString shownValue = platform::ToQt(value);
    // The limit holds for typing; a longer value handed in is kept whole.
    edit->setMaxLength(std::max<int>(255, int(shownValue.size())));
    platform::SetEditText(edit, value);
    edit->selectAll();
    form.SetActiveControl(edit);

    const int space = helpContext == 0 ? 30 : 10;
    const int buttonTop = VertUnits(41, c);
    const auto place = [&](TButton* button, int leftUnits) {
        button->setGeometry(HorzUnits(leftUnits, c), buttonTop, HorzUnits(50, c), VertUnits(14, c));
    };
    auto* ok = new TButton(&form);
    ok->setObjectName("OK");
    ok->SetCaption("OK");
    ok->SetModalResult(mrOk);
    ok->setDefault(true);
    place(ok, space);
    auto* cancel = new TButton(&form);
    cancel->setObjectName("Cancel");
    cancel->SetCaption("Cancel");
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    place(cancel, space + 50 + space);
    if (helpContext != 0) {
        auto* help = new TBitBtn(&form);
        help->setObjectName("Help");
        help->SetKind(TBitBtnKind::Help);
        help->SetHelpContext(helpContext);
        place(help, space + 50 + space + 50 + space);
    }

    if (form.exec() != mrOk)
        return false;
    value = platform::EditText(edit);
    return true;
}
