// The real message boxes: what the user sees for each kind of message.

#include "app/messagebox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

TEST(MessageBox, AQuestionDefaultsToNo)
{
    const auto box =
        app::makeMessageBox({"Continue?", "Transpose", word::Icon::Question, word::Buttons::YesNoDefaultNo}, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Transpose"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
}

TEST(MessageBox, LinesAndTitleAsGivenWithOkOnly)
{
    const auto box =
        app::makeMessageBox({"first line\r\nsecond  line", "Fatal Error", word::Icon::Critical, word::Buttons::Ok},
                            nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("first line\nsecond  line"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST(MessageBox, IconsMatchTheirKinds)
{
    EXPECT_EQ(app::makeMessageBox({"x", "Tonvale", word::Icon::None, word::Buttons::Ok}, nullptr)->icon(),
              QMessageBox::NoIcon);
    EXPECT_EQ(app::makeMessageBox({"x", "Warning", word::Icon::Exclamation, word::Buttons::Ok}, nullptr)->icon(),
              QMessageBox::Warning);
}

} // namespace
