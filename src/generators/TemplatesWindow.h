#pragma once

#include <QDialog>

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

private:
    SourceEditor &m_editor;
};
