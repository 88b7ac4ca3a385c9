#include "ui/captionroom.h"

#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

using namespace rovi;

namespace {

QFont Pixels(const QFont &from, int pixels)
{
    QFont font = from;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

// The caption is measured with the font the button shows, also when that
// font comes after the caption was fitted (a parent's font, a new style).
TEST(CaptionRoom, FollowsTheFontTheButtonShows)
{
    QWidget parent;
    parent.resize(400, 100);
    QPushButton button(&parent);
    button.setText(QStringLiteral("Read settings"));
    const QFont small = Pixels(button.font(), 10);
    button.setFont(small);
    const QRect place(100, 10, CaptionWidth(button), 25); // just room for it
    FitCaption(button, place);
    EXPECT_EQ(button.geometry(), place);

    parent.setFont(Pixels(small, 20)); // reaches the button as a font change
    button.setFont(QFont());
    EXPECT_EQ(button.font().pixelSize(), 20);
    EXPECT_GT(CaptionWidth(button), place.width());
    EXPECT_EQ(button.geometry(), QRect(place.topLeft(), QSize(CaptionWidth(button), place.height())));
    EXPECT_TRUE(button.toolTip().isEmpty());

    button.setFont(small);
    EXPECT_EQ(button.geometry(), place);
}

// Where even the parent's whole width is too narrow, the button takes all
// of it and its tooltip says the caption in full; the tooltip goes when the
// caption fits, and a tooltip of the program's own is never replaced.
TEST(CaptionRoom, ACaptionThatCannotFitSaysItselfInFull)
{
    QWidget parent;
    parent.resize(60, 40);
    QPushButton button(&parent);
    button.setText(QStringLiteral("Read back && verify after setting"));
    const QRect place(10, 5, 40, 25);
    FitCaption(button, place);
    EXPECT_EQ(button.geometry(), QRect(2, 5, 56, 25));
    EXPECT_EQ(button.toolTip(), "Read back & verify after setting");

    parent.resize(1000, 40);
    FitCaption(button, place);
    EXPECT_EQ(button.width(), CaptionWidth(button));
    EXPECT_TRUE(button.toolTip().isEmpty());

    button.setToolTip(QStringLiteral("The program's own words"));
    parent.resize(60, 40);
    FitCaption(button, place);
    EXPECT_EQ(button.toolTip(), "The program's own words");
}
