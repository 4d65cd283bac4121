#pragma once

#include <QtGlobal>

class SourceEditor;
class QFont;

// The four colouring schemes of the source editor; choosing one never changes the text.
namespace Highlighting {

enum class Scheme { Html, Php, Css, Xml };

// While colouring is suspended the scheme is only remembered, for when colouring resumes.
void apply(SourceEditor &editor, Scheme scheme, const QFont &font);
Scheme current(const SourceEditor &editor);

// A document holding a line this long is shown without colours.
constexpr qsizetype kLongLine = qsizetype(1) << 20;
// Suspends colouring when the text about to fill the editor holds a line of kLongLine bytes or
// more, and resumes it in the current scheme otherwise. Called while the editor is empty:
// resuming colours the whole text at once.
void fitToLineLengths(SourceEditor &editor, const char *text, qsizetype length, char eol);
// Whether text put between `before` bytes of a line and `after` bytes of a line (its first
// and last lines joining them) makes a line of kLongLine bytes or more.
bool makesLongLine(const char *text, qsizetype length, qsizetype before, qsizetype after);
// Suspends colouring (and leaves it so) when text about to be pasted or dropped between
// `before` and `after` bytes of a line makes a line of kLongLine bytes or more.
void fitToInsertion(SourceEditor &editor, const char *text, qsizetype length, qsizetype before, qsizetype after);
bool isSuspended(const SourceEditor &editor);
// While colouring is suspended, where the text not yet styled for showing begins; -1 otherwise.
qsizetype styledUpTo(const SourceEditor &editor);

} // namespace Highlighting
