#pragma once

#include <QString>


class Guard;
class PreviewView;
class QWidget;
class SourceEditor;

// The preview page: the document is written to the preview file and the view loads that file.
// The page's script dialogs are asked through the guard's dialogs.
class Preview
{
public:
    Preview(QWidget *host, const Guard &guard);
    ~Preview();

    // Where the preview file lives: the user's own cache folder, never a shared one. The file
    // holds unsaved work, so it and its folder are readable by their owner only.
    static QString filePath();
    // Overrides the path, for tests.
    static void setFilePath(const QString &path);

    // Writes the document to the preview file and points the view at it (a page change, or
    // the document changed while the preview is shown: the view keeps its scroll position).
    // Relative references of the page resolve against baseFolder.
    void show(const SourceEditor &editor, const QString &baseFolder);
    void goBack();
    void goForward();
    void stop();
    void refresh();

    bool hasView() const { return m_view != nullptr; }

private:
    PreviewView &ensureView();
    void writeFile(const SourceEditor &editor) const;
    QWidget *m_host;
    const Guard &m_guard;
    PreviewView *m_view = nullptr;
};
