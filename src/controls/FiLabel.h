#pragma once
// TFileLabel: a one-line label that shows a path (or any text made of parts
// joined by a separator) and, when it is too wide, replaces a run of middle
// parts by "..." so that the drive and the last part stay readable.
// The caption is always computed from the file name and the current width;
// nobody sets it from outside, so the label has no text setter at all.
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

enum TDirection : std::uint8_t {
    drFromLeft = 0, // keep the parts nearest the last one, cut those after the drive
    drFromRight = 1 // keep the parts after the drive, cut those before the last one
};

// Appends the pieces of `text` between occurrences of `separator` to `list`.
// Always appends at least one piece: empty text gives one empty piece, a
// trailing separator a last empty piece. An empty separator is never found.
void SplitString(const std::string& text, const std::string& separator,
                 std::vector<std::string>& list);

class TFileLabel : public QWidget {
    Q_OBJECT
    // Names as the form descriptions use them, in their designed order.
    Q_PROPERTY(TDirection _Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(std::string _FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(std::string _Separator READ Separator WRITE SetSeparator)

public:
    explicit TFileLabel(QWidget* parent = nullptr);

    // Reading returns the stored values, never the shortened caption.
    const std::string& FileName() const { return fileName_; }
    const std::string& Separator() const { return separator_; }
    TDirection Direction() const { return direction_; }
    void SetFileName(const std::string& fileName);
    void SetSeparator(const std::string& separator);
    void SetDirection(TDirection direction);

    // What the label shows (Windows-1252), as computed for the current width.
    // Qt hands a hidden widget its resize only when it is shown, so a label
    // resized while hidden catches up then, before it is first drawn.
    const std::string& Caption() const { return caption_; }
    const std::vector<std::string>& PathParts() const { return pathParts_; }
    bool HasDrive() const { return hasDrive_; }

    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);

protected:
    // Width in pixels of `text` in the font the label is drawn in.
    virtual int TextWidth(const std::string& text) const;

    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ParseFileName();
    void UpdateCaption();
    std::string ShortenedCaption() const;
    void SetCaption(const std::string& caption);

    std::string fileName_;
    std::string separator_ = "\\";
    TDirection direction_ = drFromLeft;
    std::vector<std::string> pathParts_;
    bool hasDrive_ = false;
    std::string caption_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
};
