#include "markup/CaretMarkup.h"

#include <QRegularExpression>

namespace CaretMarkup {
namespace {

// An opening tag (attribute values in double quotes may hold ">"), content without tags, and
// the closing tag of the same element, in any case.
const QRegularExpression &pairPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(^<([A-Za-z][A-Za-z0-9]*)(?:\s(?:[^>"]|"[^"]*")*)?>([^<>]*)</\1>$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

Shape single(const QString &line, bool contentIsPlaceholder)
{
    Shape shape{Kind::Text, {line}};
    if (!contentIsPlaceholder)
        return shape;
    const QRegularExpressionMatch m = pairPattern().match(line);
    if (m.hasMatch()) {
        shape.kind = Kind::Pair;
        shape.contentStart = int(m.capturedStart(2));
        shape.contentLength = int(m.capturedLength(2));
    }
    return shape;
}

Shape block(const QStringList &lines, bool emptyLineIsSlot)
{
    Shape shape{Kind::Block, lines};
    if (emptyLineIsSlot) {
        for (int i = 1; i + 1 < lines.size() && shape.slotLine < 0; ++i)
            if (lines.at(i).isEmpty())
                shape.slotLine = i;
    }
    return shape;
}

} // namespace

Shape ofCommand(const Markup::Command &command)
{
    if (command.placement == Markup::Placement::Head)
        return Shape{Kind::Head, command.lines};
    if (command.lines.size() > 1)
        return block(command.lines, true);
    return single(command.lines.value(0), true);
}

Shape ofBuiltText(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    if (lines.size() > 1)
        return block(lines, false);
    return single(text, false);
}

Plan plan(const Shape &shape, const QString &selection)
{
    const QString eol = QStringLiteral("\n");
    Plan p;
    switch (shape.kind) {
    case Kind::Pair: {
        const QString &line = shape.lines.constFirst();
        p.before = line.left(shape.contentStart);
        p.middle = selection.isEmpty() ? line.mid(shape.contentStart, shape.contentLength) : selection;
        p.after = line.mid(shape.contentStart + shape.contentLength);
        break;
    }
    case Kind::Text:
        p.before = shape.lines.constFirst();
        break;
    case Kind::Block:
        p.where = Where::BelowCaretLine;
        if (shape.slotLine < 0) {
            p.before = shape.lines.join(eol);
            break;
        }
        p.takesSelection = !selection.isEmpty();
        p.before = shape.lines.mid(0, shape.slotLine).join(eol) + eol;
        p.middle = selection;
        p.after = eol + shape.lines.mid(shape.slotLine + 1).join(eol);
        break;
    case Kind::Head:
        p.where = Where::HeadLine;
        p.before = shape.lines.constFirst();
        break;
    }
    return p;
}

} // namespace CaretMarkup
