#pragma once

// The look every window of the program shares: its fonts and the frame of
// its fixed-size dialogs.

#include <QFont>
#include <QSize>
#include <QString>

class QDialog;

namespace rovi {

// The window's fonts: the Windows families first, then installed CJK fonts.
// `new_song` puts NSimSun first, as the logs use it.
QFont SongFont(int pixels, bool new_song = false);

// A fixed-size dialog with a close box only, centred on its owner, in the
// 12-pixel Song font, with an empty status bar along its bottom edge.
void SetUpFixedDialog(QDialog &dialog, const QString &title, const QSize &client);

} // namespace rovi
