#pragma once

#include "markup/MarkupTable.h"

#include <QString>
#include <QStringList>

// How markup goes in where the caret is: what kind of text a command adds, and the edit that
// makes of it around the user's selection.
namespace CaretMarkup {

enum class Kind {
    Pair,  // one line: an opening tag, content standing in for the user's text, its closing tag
    Text,  // any other single line
    Block, // several lines
    Head,  // a line whose place is fixed in the document's head
};

struct Shape {
    Kind kind = Kind::Text;
    QStringList lines;
    // Pair: the content between the tags, in characters of the line (it may be empty).
    int contentStart = 0;
    int contentLength = 0;
    // Block: the empty line between the tags that takes a selection, or -1.
    int slotLine = -1;
};

// A fixed-markup command: its content between tags is a placeholder for the user's text.
Shape ofCommand(const Markup::Command &command);
// A line built around text the user typed (the quick-insert panel): the whole of it is the
// user's, so nothing in it stands in for a selection. Line breaks in it make it a block.
Shape ofBuiltText(const QString &text);

enum class Where {
    Selection,     // replaces the selection, or goes in at the caret
    BelowCaretLine, // new lines after the caret's line
    HeadLine,      // the line before line index Markup::kHeadIndex
};

// The edit a shape makes: the text before + middle + after, where `middle` ends up selected
// (an empty one leaves the caret there). Lines are separated by "\n".
struct Plan {
    Where where = Where::Selection;
    // BelowCaretLine: the selection is taken out of its place (it is `middle`).
    bool takesSelection = false;
    QString before, middle, after;
    QString text() const { return before + middle + after; }
};

// `selection` is the selected text, empty when nothing is selected.
Plan plan(const Shape &shape, const QString &selection);

} // namespace CaretMarkup
