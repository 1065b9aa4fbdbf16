#pragma once
// A bitmap button: a push button with a small glyph beside its caption. Its
// kind gives caption, glyph, modal result and behaviour:
// - OK: a green check mark, "OK", mrOk, the default button;
// - Help: a blue question mark, "Help", no modal result; a click shows help
//   for the button's own help context.
#include <QPixmap>

#include "platform/ui/Button.h"

enum class TBitBtnKind { Custom, OK, Help };

class TBitBtn : public TButton {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget* parent = nullptr);

    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);

    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }

    // The glyph a kind carries (null for Custom).
    static QPixmap KindGlyph(TBitBtnKind kind);

protected:
    void Click() override;

private:
    TBitBtnKind kind_ = TBitBtnKind::Custom;
    int helpContext_ = 0;
};
