#pragma once

#include "document/ScintillaView.h"
#include "document/TextEncoding.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// The syntax-coloured editor that holds the one document. The document is text in one of the
// encodings of TextEncoding; the editor holds it as UTF-8 with one kind of line end
// throughout, the one the document is saved with.
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
    // Also empties both histories and the flag. An empty document is in ISO-8859-2, the set
    // that every page the program writes declares.
    void clearAll();

    // Reads a file in the encoding its bytes tell (TextEncoding::detect). Throws Failure; the
    // document is kept on failure.
    void loadFromFile(const QString &path);
    // Writes the document in the encoding it will be saved in (saveEncoding()). Throws Failure;
    // the old file is kept on failure.
    void saveToFile(const QString &path) const;
    // saveToFile, then the document counts as saved, in the encoding it was written in.
    void save(const QString &path);

    TextEncoding::Encoding encoding() const { return m_encoding; }
    bool hasByteOrderMark() const { return m_bom; }
    // The encoding a save writes: the one the document's declaration names when the user has
    // changed it to another of the three sets, otherwise the document's own.
    TextEncoding::Encoding saveEncoding() const;
    // Converts the document to another encoding as one undoable edit: the characters stay, the
    // charset declarations are rewritten to name it. Throws Failure, changing nothing, when a
    // character does not fit.
    void convertTo(TextEncoding::Encoding encoding);

    // Edits made as if typed: each one is a single Undo step and sets the modified flag, and
    // the view scrolls only as far as the caret needs. Line breaks in the texts become the
    // document's line end.
    //
    // The main selection, or nothing at the caret, becomes before + middle + after, with
    // `middle` selected (an empty one leaves the caret between the other two).
    void replaceSelection(const QString &before, const QString &middle, const QString &after);
    // before + middle + after on new lines after the caret's line, `middle` selected. With
    // `takeSelection` the selected text first leaves its place (the caller puts it in the text).
    void insertBelowCaretLine(const QString &before, const QString &middle, const QString &after, bool takeSelection);
    // The text becomes line `index`; the caret and the selection stay on their text. Throws
    // Failure past the last line.
    void insertLineAsEdit(int index, const QString &text);
    // The text of the main selection (of one line of a rectangular one), empty without one.
    QString mainSelectionText() const;

    bool isDocumentModified() const;
    void setDocumentUnmodified(); // also marks the document unchanged
    // Whether the document changed in any way since it was last saved, cleared or loaded:
    // typed edits as well as line operations, which never set the modified flag.
    bool hasUnsavedChanges() const { return m_changedByCommands || isDocumentModified(); }
    // The document as it stands counts as unchanged (a new page that nobody touched yet).
    void markUnchanged() { m_changedByCommands = false; }

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

signals:
    void encodingChanged();

protected:
    // Pasted and dropped text: a line it makes of a megabyte or more turns the colours off
    // before it goes in, as on opening such a file.
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;
    void dropEvent(QDropEvent *event) override;

private:
    struct EncodingState {
        TextEncoding::Encoding encoding = TextEncoding::Encoding::Iso88592;
        bool bom = false;
        std::optional<TextEncoding::Encoding> declared = TextEncoding::Encoding::Iso88592;
    };
    void setEncodingState(const EncodingState &state);
    void onContainerAction(int modificationType, int token);

    long sci(unsigned msg, unsigned long w = 0, long l = 0) const { return SendScintilla(msg, w, l); }
    long m_dropAt = -1; // while text is dropped, where it goes
    void replaceBuffer(const QByteArray &utf8);
    QByteArray toEditorText(const QString &text) const;
    void insertUnrecorded(qsizetype bytePosition, const QByteArray &utf8);
    void showDocumentStart();

    QByteArray m_eol = QByteArrayLiteral("\r\n");
    TextEncoding::Encoding m_encoding = TextEncoding::Encoding::Iso88592;
    bool m_bom = false;
    // What the document's declaration named when it was loaded, converted or saved: a later
    // declaration of another set is the user's wish to save in that set.
    std::optional<TextEncoding::Encoding> m_declared = TextEncoding::Encoding::Iso88592;
    // The editor cannot tell an empty document from one holding a single empty line.
    mutable bool m_singleEmptyLine = false;
    // Set when the history that could bring back the last unmodified state was emptied while
    // the document was modified (a load, a head insertion): the flag then stays set until a
    // save or a clear, whatever Undo does.
    bool m_modifiedBeyondHistory = false;
    bool m_changedByCommands = false;
    mutable std::pair<qsizetype, qsizetype> m_lastHit{0, 0}; // byte position and length
};
