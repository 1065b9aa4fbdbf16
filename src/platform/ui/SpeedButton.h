#pragma once
// The speed button: a small button that shows a glyph, never takes the
// keyboard focus and can stay down as a toggle.
//
// A button with a group index stays down when clicked; of the buttons of one
// parent sharing a group index only one is down at a time, and with "all up"
// allowed a click on the down button releases it. A button without a group
// (index 0) never stays down.
#include <QImage>
#include <QWidget>
#include <string>

class TSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
    bool Down() const { return down_; }
    // A button without a group cannot be set down; with a group and without
    // "all up" a down button cannot be set up.
    void SetDown(bool down);

    // How many images of equal width the glyph holds side by side (1 to 4):
    // up, disabled, held by the mouse, staying down.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& bitmap);

    // Windows-1252 text shown as tool tip while ShowHint is on.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Runs the click as a mouse click does (the down state is not changed).
    void Click();

    QSize sizeHint() const override { return {25, 25}; }

signals:
    void clicked(TSpeedButton* sender);
    // Any mouse button going down, with x and y in the button's client area.
    void mouseDown(TSpeedButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                   int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Look { Up, Disabled, Held, Down };
    Look CurrentLook() const;
    QImage ImageFor(Look look) const;
    const QImage& CachedImageFor(Look look);
    void DrawFace(QPainter& painter, Look look) const;
    void ReleaseGroup();
    void UpdateToolTip();
    void StopDragging();

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool dragging_ = false; // the left button went down on this button
    bool held_ = false;     // ... and the mouse is over it, so it shows pressed
    int numGlyphs_ = 1;
    QImage glyph_;
    // The image of each look as last drawn; emptied when glyph, image count
    // or colours change.
    QImage drawn_[4];
    bool drawnValid_[4] = {};
    std::string hint_;
    bool showHint_ = true;
    int tag_ = 0;
};
