#pragma once
// A panel: a plain area framed by an outer and an inner one-pixel bevel,
// each lowered, raised or none.
#include <QWidget>

enum class TPanelBevel { None, Lowered, Raised };

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TPanelBevel BevelOuter() const { return outer_; }
    TPanelBevel BevelInner() const { return inner_; }
    void SetBevelOuter(TPanelBevel bevel);
    void SetBevelInner(TPanelBevel bevel);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPanelBevel outer_ = TPanelBevel::Raised;
    TPanelBevel inner_ = TPanelBevel::None;
};
