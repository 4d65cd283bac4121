#pragma once

#include "app/CommandTable.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class CommandBars;
class DocumentCommands;
class FilePanel;
class EncodingControls;
class FindCommand;
class FtpPanel;
class Guard;
class KeyDispatcher;
class MarkupInserter;
class Preview;
class QDialog;
class QCheckBox;
class QLabel;
class QTimer;
class QTabWidget;
class QuickInsertPanel;
class SourceEditor;
class TablePanel;

// The main window: the source editor with its document, the menus and toolbars built from the
// command table, and the panels around the editor. It wires; the work lives in the panels and
// in document/, markup/, preview/.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(const Guard &guard, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The windows that commands open, each made when first asked for: AppWindows hands in
    // the functions that give them.
    using WindowSource = std::function<QDialog *()>;
    struct Windows {
        WindowSource about;
        WindowSource pageWizard;
        WindowSource templates;
    };
    void connectWindows(const Windows &windows) { m_windows = windows; }

    SourceEditor *editor() const { return m_editor; }
    QTabWidget *notebook() const { return m_notebook; }
    FilePanel *filePanel() const { return m_filePanel; }
    QuickInsertPanel *quickInsert() const { return m_quickInsert; }
    TablePanel *tablePanel() const { return m_tablePanel; }
    FtpPanel *ftpPanel() const { return m_ftpPanel; }
    const FindCommand &findCommand() const { return *m_find; }
    Preview &preview() const { return *m_preview; }

    // A main-menu item, an editor-menu item or a toolbar action, by its control name.
    QAction *action(const QString &name) const;
    // Runs a command through the one guard that turns a failure into the error box.
    void run(const std::function<void()> &command) const;

    // Files given on the command line or dropped on the window. The first one counts: a file
    // is loaded as Open loads it (with showFolder, the file panel opens its folder too), a
    // folder opens in the file panel. The status bar says when others were left out.
    void openPaths(const QStringList &paths, bool showFolder);

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildPanels();
    QWidget *buildNotebook(QWidget *parent);
    QWidget *buildFtpPanel(QWidget *parent);
    QWidget *buildBottomPanel(QWidget *parent);
    void showPage(int index);
    QWidget *buildLivePreviewBox(QWidget *bar);
    void execute(Commands::Id id, const QString &control);
    void executeEditing(Commands::Id id);
    void applyMarkup(const QString &control);
    void showWindow(const WindowSource &window, bool modal);
    void setStatus();

    static const QString kStatusText;
    static const int kPreviewPage = 1;
    static const QString kCaption;

    const Guard &m_guard;
    SourceEditor *m_editor;
    std::unique_ptr<DocumentCommands> m_document;
    std::unique_ptr<FindCommand> m_find;
    std::unique_ptr<MarkupInserter> m_markup;
    std::unique_ptr<Preview> m_preview;
    KeyDispatcher *m_keys;
    std::unique_ptr<CommandBars> m_bars;
    QMenu *m_editorMenu = nullptr;
    QLabel *m_statusText = nullptr;
    EncodingControls *m_encoding = nullptr;
    QTabWidget *m_notebook = nullptr;
    FilePanel *m_filePanel = nullptr;
    QuickInsertPanel *m_quickInsert = nullptr;
    TablePanel *m_tablePanel = nullptr;
    FtpPanel *m_ftpPanel = nullptr;
    QCheckBox *m_livePreview = nullptr;
    QTimer *m_livePreviewTimer = nullptr;
    Windows m_windows;
    int m_shownPage = 0;
};
