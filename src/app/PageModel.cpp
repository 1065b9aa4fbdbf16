#include "app/PageModel.h"

TPageModel::TPageModel(int pageSize, std::function<void()> show)
    : pageSize_(pageSize), show_(std::move(show)) {}

void TPageModel::EnterDirectory(std::string dir, int glyphCount) {
    currentDir_ = std::move(dir);
    glyphCount_ = glyphCount;
    show_();
}

void TPageModel::FirstPageFilled(int filled) {
    PageCame(1, filled);
}

int TPageModel::StartOf(Step step) const {
    switch (step) {
    case Step::First:
        return 1;
    case Step::Previous:
        return firstShown_ - pageSize_;
    case Step::Next:
        return refillPending_ ? firstShown_ : lastShown_ + 1;
    case Step::Last:
        break;
    }
    // The last page holds the rest of the glyphs, or a whole page of them.
    const int pages = glyphCount_ / pageSize_;
    return glyphCount_ % pageSize_ == 0 ? pageSize_ * (pages - 1) + 1 : pageSize_ * pages + 1;
}

void TPageModel::PageCommandDone(Step step, bool shown, int filled) {
    if (!shown) {
        PageCame(firstShown_, lastShown_);
        return;
    }
    switch (step) {
    case Step::First:
        PageCame(1, filled);
        break;
    case Step::Previous:
        PageCame(firstShown_ - filled, firstShown_ - 1);
        break;
    case Step::Next:
        if (refillPending_)
            PageCame(firstShown_, firstShown_ + filled - 1);
        else
            PageCame(lastShown_ + 1, lastShown_ + filled);
        break;
    case Step::Last:
        PageCame(StartOf(Step::Last), glyphCount_);
        break;
    }
}

void TPageModel::GlyphsGone(int count, bool leftHoles) {
    glyphCount_ -= count;
    lastShown_ -= count;
    refillPending_ = refillPending_ || leftHoles;
    show_();
}

void TPageModel::PageCame(int first, int last) {
    firstShown_ = first;
    lastShown_ = last;
    refillPending_ = false;
    canGoBack_ = firstShown_ > 1;
    canGoOn_ = lastShown_ < glyphCount_;
    show_();
}
