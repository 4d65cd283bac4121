#pragma once

#include "document/ScintillaView.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// The syntax-coloured editor that holds the one document. The document is 8-bit text in
// Windows-1250; the editor holds it decoded as UTF-8 with one kind of line end throughout,
// the one the document is saved with.
class SourceEditor : public ScintillaView
{
    Q_OBJECT
public:
    explicit SourceEditor(QWidget *parent = nullptr);

    int lineCount() const;
    QStringList lines() const;
    QString line(int index) const;

    // Line operations used by commands: never recorded for Undo, never set the modified flag.
    void appendLine(const QString &text);
    void insertLine(int index, const QString &text); // throws Failure past the last line
    void clearAll();                                  // also empties both histories and the flag

    void loadFromFile(const QString &path);           // throws Failure; document kept on failure
    void saveToFile(const QString &path) const;       // throws Failure; the old file kept on failure
    QByteArray encodedDocument() const;               // throws Failure for text outside the code page

    bool isDocumentModified() const;
    void setDocumentUnmodified();

    QByteArray lineEnd() const { return m_eol; }

    // The editor's raw UTF-8 buffer; valid until the next change.
    const char *buffer(qsizetype *length) const;

    // The document with every line end counted as CR LF, and a range in those positions.
    QString documentText() const;
    void selectRange(qsizetype start, qsizetype length);
    // The next occurrence at or after a position, both counted with CR LF line ends.
    std::optional<qsizetype> find(qsizetype crlfStart, const QString &needle, bool matchCase) const;
    // Selects what the last successful find() found, without counting positions again.
    void selectLastHit();
    qsizetype crlfPositionOf(qsizetype bytePosition) const;
    qsizetype bytePositionOf(qsizetype crlfPosition) const;

    void setEditorFont(const QFont &font);

private:
    long sci(unsigned msg, unsigned long w = 0, long l = 0) const { return SendScintilla(msg, w, l); }
    void replaceBuffer(const QByteArray &utf8);
    QByteArray toEditorText(const QString &text) const;
    void insertUnrecorded(qsizetype bytePosition, const QByteArray &utf8);

    QByteArray m_eol = QByteArrayLiteral("\r\n");
    // The editor cannot tell an empty document from one holding a single empty line.
    mutable bool m_singleEmptyLine = false;
    // Set when the history that could bring back the last unmodified state was emptied while
    // the document was modified (a load, a head insertion): the flag then stays set until a
    // save or a clear, whatever Undo does.
    bool m_modifiedBeyondHistory = false;
    mutable std::pair<qsizetype, qsizetype> m_lastHit{0, 0}; // byte position and length
};
