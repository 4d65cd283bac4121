#pragma once

#include "app/CommandTable.h"
#include "app/Dialogs.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

class DirectoryListBox;
class FindDialog;
class FtpPanel;
class Preview;
class DriveComboBox;
class FileListBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QWidget;
class QuickInsertPanel;
class SourceEditor;
class TablePanel;
namespace Markup { struct Command; }

// The main window: the source editor with its document, menus, toolbars and the panels
// around it. Commands are wired from the tables of CommandTable; their work lives elsewhere.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    SourceEditor *s = nullptr;

    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr, *ToolBar3 = nullptr;
    QWidget *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel4 = nullptr, *Panel6 = nullptr;
    QComboBox *FilterComboBox1 = nullptr;
    DriveComboBox *DriveComboBox1 = nullptr;
    DirectoryListBox *DirectoryListBox1 = nullptr;
    FileListBox *FileListBox1 = nullptr;
    QTabWidget *TabbedNotebook1 = nullptr, *PageControl1 = nullptr, *PageControl2 = nullptr;
    QuickInsertPanel *quickInsert = nullptr;
    QGroupBox *colouringGroup = nullptr;
    TablePanel *tablePanel = nullptr;
    FtpPanel *ftpPanel = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QMenu *BarPopupMenu1 = nullptr;
    FindDialog *TFindDialog1 = nullptr;
    QList<QWidget *> colouringButtons; // FreeButton1..FreeButton4

    // The position (1-based, line ends counted as CR LF) where the last match starts; 0 when
    // nothing was found since the Find dialog was opened.
    qsizetype FindPos = 0;
    Preview &preview() { return *m_preview; }

    // Dialogs used by every command; tests hand in scripted ones.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    Dialogs &dialogs() { return *m_dialogs; }

    // A main-menu item, an editor-menu item or a toolbar action, by its control name.
    QAction *action(const QString &name) const;
    // Runs a command through the one guard that turns a failure into the error box.
    void run(const std::function<void()> &command);

    // Commands.
    void newDocument();
    void openDocument();
    void saveDocument();
    void loadDocument(const QString &path);
    void applyMarkup(const Markup::Command &command);
    void appendMarkupLine(const QString &line);
    void showFindDialog();
    void showSecondary(QWidget *window);
    void TFindDialog1Find();
    void TabbedNotebook1Change();

    // The save dialog's state, kept between uses.
    Dialogs::SaveState saveState;
    QString defaultExtension;

    static const QString kStatusText;
    static const QString kCaption;

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildMenus();
    void buildToolBars();
    void buildPanels();
    QWidget *buildFilePanel();
    QWidget *buildFtpPanel();
    QWidget *buildBottomPanel();
    QWidget *buildNotebook();
    void execute(Commands::Id id, const QString &control);
    QAction *makeAction(const Commands::MenuEntry &entry, bool registerKey);
    QAction *shortcutFor(const QKeyEvent &key, QWidget *focus) const;
    bool closeQuery();
    void showAbout();
    void setStatus();

    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<Preview> m_preview;
    int m_shownPage = 0;
    Dialogs *m_dialogs = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<int, QAction *> m_menuKeys;   // main menu shortcuts, by key code
    QHash<int, QAction *> m_editorKeys; // editor popup menu shortcuts
};

extern MainWindow *Form1;
