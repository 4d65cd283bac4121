#pragma once

class SourceEditor;
class QFont;

// The four colouring schemes of the source editor; choosing one never changes the text.
namespace Highlighting {

enum class Scheme { Html, Php, Css, Xml };

void apply(SourceEditor &editor, Scheme scheme, const QFont &font);
Scheme current(const SourceEditor &editor);

} // namespace Highlighting
