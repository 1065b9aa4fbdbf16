// The control holding the focus, as the file dialog asks for it when its name
// edit loses the focus.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/ui/FocusedControl.h"

TEST(FocusedControlName, NamesTheControlHoldingTheFocus) {
    QWidget form;
    form.setObjectName("OSDialog");
    auto* first = new QLineEdit(&form);
    first->setObjectName("EditDateiName");
    auto* combo = new QComboBox(&form);
    combo->setObjectName("ComboBoxFilter");
    combo->setEditable(true);
    combo->move(0, 40);
    auto* unnamed = new QLineEdit(&form);
    unnamed->move(0, 80);

    EXPECT_EQ(FocusedControlName(), ""); // no active form
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_EQ(QApplication::activeWindow(), &form);

    first->setFocus();
    EXPECT_EQ(FocusedControlName(), "EditDateiName");
    combo->lineEdit()->setFocus(); // the edit inside stands for its combo box
    EXPECT_EQ(FocusedControlName(), "ComboBoxFilter");
    unnamed->setFocus();
    EXPECT_EQ(FocusedControlName(), "");
}
