#pragma once
// The main window's page model: the directory shown, how many glyph files it
// holds, which of them are on the page, and whether deleted glyphs left holes
// there. It keeps no list of files: the window counts the files and fills a
// page by reading the directory again each time, and tells the model what it
// found. Every change ends in the one routine that shows the model.
#include <functional>
#include <string>

class TPageModel {
public:
    // The page commands; each fills a page from a start of its own.
    enum class Step { First, Previous, Next, Last };

    TPageModel(int pageSize, std::function<void()> show);

    // The directory whose glyphs are shown; ends with a backslash once loaded.
    const std::string& CurrentDir() const { return currentDir_; }
    int GlyphCount() const { return glyphCount_; }
    // 1-based indices into the listing of CurrentDir + "*.bmp".
    int FirstShown() const { return firstShown_; }
    int LastShown() const { return lastShown_; }
    // Deleted glyphs left holes in the page shown: the next Next Page fills
    // the current page again instead of moving on.
    bool RefillPending() const { return refillPending_; }
    // Whether the page buttons lead anywhere: back (First, Previous) and on
    // (Next, Last). They follow the page that a load or a page command last
    // came to the end of, so a fill that stopped at a bad file leaves them as
    // they were; before the first page they stand as designed, enabled.
    bool CanGoBack() const { return canGoBack_; }
    bool CanGoOn() const { return canGoOn_; }

    // A directory is entered, with the number of glyph files it holds; its
    // first page is filled next.
    void EnterDirectory(std::string dir, int glyphCount);
    // The entered directory's first page was filled with `filled` glyphs.
    void FirstPageFilled(int filled);

    // Where the page command's fill starts.
    int StartOf(Step step) const;
    // The page command's fill from StartOf(step) showed `filled` glyphs, or,
    // when `shown` is false, left the page as it was.
    void PageCommandDone(Step step, bool shown, int filled);

    // Glyph files of the page are gone (deleted, or replaced by a renamed
    // glyph): the count and the page's end go down. `leftHoles`: their
    // buttons now stand empty, to be filled by the next Next Page.
    void GlyphsGone(int count, bool leftHoles);

private:
    void PageCame(int first, int last);

    int pageSize_;
    std::function<void()> show_;
    std::string currentDir_;
    int glyphCount_ = 0;
    int firstShown_ = 0;
    int lastShown_ = 0;
    bool refillPending_ = false;
    bool canGoBack_ = true;
    bool canGoOn_ = true;
};
