#pragma once

#include <QDialog>
#include <QList>

class SourceEditor;
class FreeButton;

// The templates window: six buttons, each loading a ready page into the source editor.
class TemplatesWindow : public QDialog
{
    Q_OBJECT
public:
    explicit TemplatesWindow(QWidget *parent = nullptr);

    QList<FreeButton *> buttons; // FreeButton1..FreeButton6

    void setEditor(SourceEditor *editor) { m_editor = editor; }
    // Loads the template of a button (0..5) and closes; throws Failure when it cannot be read.
    void loadTemplate(int index);
    // Folders that come with the program, searched after "szablony" in the current folder.
    static QStringList bundledFolders();
    // Replaces the folders above (tests); an empty list restores them.
    static void setBundledFolders(const QStringList &folders);

signals:
    void templateFailed(const QString &message);

private:
    SourceEditor *m_editor = nullptr;
};

extern TemplatesWindow *Form6;
