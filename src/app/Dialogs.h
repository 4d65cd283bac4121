#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

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

// The dialogs a user sees.
class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(QWidget *parent) : m_parent(parent) {}
    std::optional<QString> openFileName() override;
    std::optional<SaveChoice> saveFileName(const SaveState &state) override;
    Answer askSaveChanges() override;
    void showError(const QString &message) override;
    void showMessage(const QString &message) override;
    Trust askTrust(const QString &question) override;

private:
    QWidget *m_parent;
};

// Runs a command; a failure becomes the error box and never crosses the event loop.
void runGuarded(Dialogs &dialogs, const std::function<void()> &command);
