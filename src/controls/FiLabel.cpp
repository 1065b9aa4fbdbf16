#include "controls/FiLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include "platform/Codepage.h"

namespace {

const std::string kEllipsis = "...";

bool IsDrive(const std::string& part) {
    return part.size() >= 2 && part.back() == ':';
}

} // namespace

void SplitString(const std::string& text, const std::string& separator,
                 std::vector<std::string>& list) {
    std::string::size_type start = 0;
    while (!separator.empty()) {
        const auto found = text.find(separator, start);
        if (found == std::string::npos) {
            break;
        }
        list.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    list.push_back(text.substr(start));
}

TFileLabel::TFileLabel(QWidget* parent) : QWidget(parent) {}

void TFileLabel::SetFileName(const std::string& fileName) {
    if (fileName == fileName_) {
        return;
    }
    fileName_ = fileName;
    ParseFileName();
    UpdateCaption();
}

void TFileLabel::SetSeparator(const std::string& separator) {
    if (separator == separator_) {
        return;
    }
    separator_ = separator;
    ParseFileName();
    UpdateCaption();
}

void TFileLabel::SetDirection(TDirection direction) {
    if (direction == direction_) {
        return;
    }
    // The parts do not depend on the direction, only their choice does.
    direction_ = direction;
    UpdateCaption();
}

void TFileLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

int TFileLabel::TextWidth(const std::string& text) const {
    return fontMetrics().horizontalAdvance(platform::ToQt(text));
}

void TFileLabel::ParseFileName() {
    pathParts_.clear();
    SplitString(fileName_, separator_, pathParts_);
    hasDrive_ = !pathParts_.empty() && IsDrive(pathParts_.front());
}

void TFileLabel::UpdateCaption() {
    SetCaption(ShortenedCaption());
}

// Three kinds of comparison on purpose: the whole name may exactly fill the
// label; the two fallback forms must be strictly narrower; and a middle part
// is still taken when the result exactly fills the label.
std::string TFileLabel::ShortenedCaption() const {
    const int w = width();
    if (fileName_.empty() || TextWidth(fileName_) <= w || pathParts_.empty()) {
        return fileName_;
    }
    const std::string ellipsis = kEllipsis + separator_;
    const std::string& last = pathParts_.back();
    int used = TextWidth(last) + TextWidth(ellipsis);
    if (used >= w) {
        return last;
    }
    const std::string head = hasDrive_ ? pathParts_.front() + separator_ : std::string();
    const std::size_t firstMiddle = hasDrive_ ? 1 : 0;
    const int headWidth = TextWidth(head);
    if (headWidth + used >= w) {
        return ellipsis + last;
    }
    used += headWidth;

    // Middle parts P[firstMiddle] .. P[n-2]; the first that does not fit ends
    // the run, so a shorter one further on is never tried.
    const std::size_t lastMiddle = pathParts_.size() - 1; // one past the end
    std::string middle;
    if (direction_ == drFromLeft) {
        for (std::size_t i = lastMiddle; i > firstMiddle; --i) {
            std::string candidate = pathParts_[i - 1] + separator_ + middle;
            if (TextWidth(candidate) + used > w) {
                break;
            }
            middle = std::move(candidate);
        }
        return head + ellipsis + middle + last;
    }
    for (std::size_t i = firstMiddle; i < lastMiddle; ++i) {
        std::string candidate = middle + pathParts_[i] + separator_;
        if (TextWidth(candidate) + used > w) {
            break;
        }
        middle = std::move(candidate);
    }
    return head + middle + ellipsis + last;
}

void TFileLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    update();
}

void TFileLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // One line, clipped at the label's edge, as a plain label draws it.
    style()->drawItemText(&painter, rect(), int(alignment_ | Qt::TextSingleLine), palette(),
                          isEnabled(), platform::ToQt(caption_), QPalette::WindowText);
}

void TFileLabel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    UpdateCaption();
}

void TFileLabel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateCaption();
}

void TFileLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateCaption();
    }
}
