#pragma once

// Room for a caption in a fixed layout. A button keeps the place the layout
// gives it while its caption fits (so one language's layout never moves for
// another's sake); a longer caption widens it to the right as far as its
// parent allows, then moves it left, never closer than 2 pixels to either
// edge.

#include <QRect>

class QAbstractButton;

namespace rovi {

// The place a caption of `needed` pixels takes, starting from `place`
// inside a parent `room` pixels wide.
QRect PlaceForCaption(const QRect &place, int needed, int room);

// The width `button`'s caption needs: its text and the style's margins.
int CaptionWidth(const QAbstractButton &button);

// Puts `button` where its current caption fits, starting from `place`, and
// again whenever its font or style changes (the font it is measured with is
// the one it shows). Call it again after changing the caption.
void FitCaption(QAbstractButton &button, const QRect &place);

} // namespace rovi
