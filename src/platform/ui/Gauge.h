#pragma once
// A gauge with the classic look: a sunken frame, a bar filled up to the
// progress and the percentage done written in the middle. Minimum, maximum
// and progress are 32-bit values; a progress outside the range is kept as
// given and drawn at the nearest end.
#include <QWidget>
#include <cstdint>

class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    std::int32_t MinValue() const { return min_; }
    std::int32_t MaxValue() const { return max_; }
    std::int32_t Progress() const { return progress_; }
    // 0 to 100: how far the progress lies between minimum and maximum.
    int PercentDone() const;

    void SetMinValue(std::int32_t value);
    void SetMaxValue(std::int32_t value);
    void SetProgress(std::int32_t value);

    QSize sizeHint() const override;

signals:
    void progressChanged(int progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t progress_ = 0;
};
