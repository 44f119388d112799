#pragma once

class QFont;
class QString;

namespace soramado {

// Every Japanese text the clock's window and menu show: the menu captions, the
// font chooser's title and the date label's characters.
QString japaneseCaptions();

// Whether `font`, with the faces Qt falls back to for characters it lacks,
// draws every character of `text` (rather than an empty box).
bool drawsAll(const QFont& font, const QString& text);

// At start-up, after the font substitutes are registered: when the labels' or
// the menu's font cannot draw the captions (no Japanese face is installed),
// says so once on stderr and names the Debian packages that bring one.
// Returns whether it said so.
bool warnWithoutJapaneseFont();

} // namespace soramado
