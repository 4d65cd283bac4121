#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

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
