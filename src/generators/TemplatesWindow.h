#pragma once

#include <QDialog>

class FreeButton;
class Guard;
class SourceEditor;

// The templates window: six buttons, each loading a ready page into the source editor.
class TemplatesWindow : public QDialog
{
    Q_OBJECT
public:
    TemplatesWindow(SourceEditor &editor, const Guard &guard, QWidget *parent = nullptr);

    // Loads the template of a button (0..5) and closes; throws Failure when it cannot be read.
    void loadTemplate(int index);
    // Folders that come with the program, searched after "szablony" in the current folder.
    static QStringList bundledFolders();
    // Replaces the folders above (tests); an empty list restores them.
    static void setBundledFolders(const QStringList &folders);

protected:
    void showEvent(QShowEvent *event) override;

private:
    SourceEditor &m_editor;
    FreeButton *m_first = nullptr; // has the focus whenever the window opens
};
