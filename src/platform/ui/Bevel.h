#pragma once
// The bevel: a frame or box drawn lowered or raised around other controls.
// It only paints; mouse input goes through to what lies below it.
#include <QWidget>

class TBevel : public QWidget {
    Q_OBJECT
public:
    enum TBevelShape { bsBox, bsFrame };
    enum TBevelStyle { bsLowered, bsRaised };

    explicit TBevel(QWidget* parent = nullptr);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
