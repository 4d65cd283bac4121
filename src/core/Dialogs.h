#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QObject;

// Every modal question of the program goes through this seam, so tests can answer it.
class Dialogs
{
public:
    enum class Answer { Yes, No, Cancel };
    enum class Trust { Once, Always, Cancel };

    // What the save dialog shows and what it hands back; it keeps this between uses.
    struct SaveState {
        QStringList filters;
        int filterIndex = 1; // 1-based
        QString fileName;
    };
    struct SaveChoice {
        QString fileName;
        int filterIndex = 1;
    };

    virtual ~Dialogs() = default;
    virtual std::optional<QString> openFileName() = 0;
    virtual std::optional<SaveChoice> saveFileName(const SaveState &state) = 0;
    virtual Answer askSaveChanges() = 0; // "Czy zapisać zmiany?"
    virtual void showError(const QString &message) = 0;   // caption "Tarnwick"
    virtual void showMessage(const QString &message) = 0; // caption "Tarnwick"
    // A server whose certificate or host key is not trusted yet: "Połącz tylko tym razem",
    // "Zawsze ufaj" or "Anuluj".
    virtual Trust askTrust(const QString &question) = 0;

    // A script of the page in the preview asks something: alert(), confirm() or prompt().
    struct PageQuestion {
        enum class Kind { Alert, Confirm, Prompt };
        Kind kind = Kind::Alert;
        QString message;     // the page's text, shown as plain text
        QString defaultText; // prompt() only
        // The box offers "Nie pokazuj więcej okien z tej strony".
        bool offerSilence = false;
        // The box closes, as if dismissed, when this object is destroyed: the page that asked
        // has gone (a new load, the program closing).
        QObject *scope = nullptr;
    };
    struct PageAnswer {
        bool accepted = false; // OK rather than "Anuluj" or the close box
        QString text;          // prompt() only
        bool silence = false;  // the user chose to see no more boxes from this page load
    };
    // The page waits for the answer; the main window stays usable meanwhile.
    virtual PageAnswer askPage(const PageQuestion &question) = 0;
};

// The one guard every command runs through: a failure the command throws becomes the error
// box of the current dialogs, and no exception ever crosses the event loop.
class Guard
{
public:
    explicit Guard(Dialogs *dialogs = nullptr) : m_dialogs(dialogs) {}
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    Dialogs &dialogs() const;
    void run(const std::function<void()> &command) const;

private:
    Dialogs *m_dialogs;
};
