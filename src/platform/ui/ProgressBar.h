#pragma once
// A progress bar with the classic look: a sunken frame filled with blocks up
// to the position. Range, position and step are 16-bit values, as the
// control has always kept them; a position outside the range is held at its
// nearest end.
#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>

class TProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    std::int16_t Min() const { return min_; }
    std::int16_t Max() const { return max_; }
    std::int16_t Position() const { return position_; }
    std::int16_t Step() const { return step_; }

    void SetMin(std::int16_t value);
    void SetMax(std::int16_t value);
    void SetRange(std::int16_t min, std::int16_t max);
    void SetPosition(std::int16_t value);
    void SetStep(std::int16_t value) { step_ = value; }
    // Advances by the step; past the maximum it starts again from the minimum.
    void StepIt();

    QSize sizeHint() const override;

signals:
    void positionChanged(int position);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowPosition();

    std::int16_t min_ = 0;
    std::int16_t max_ = 100;
    std::int16_t position_ = 0;
    std::int16_t step_ = 10;
    QElapsedTimer sincePaint_;
    bool paintPending_ = false;
};
