#include "app/MainWindow.h"

#include "app/ColouringPage.h"
#include "app/EncodingControls.h"
#include "app/CommandBars.h"
#include "app/FileDrops.h"
#include "app/WindowState.h"
#include "controls/LocalLists.h"
#include "app/KeyDispatcher.h"
#include "controls/Accessibility.h"
#include "controls/Fonts.h"
#include "core/Dialogs.h"
#include "core/Named.h"
#include "document/DocumentCommands.h"
#include "document/DocumentRules.h"
#include "document/FilePanel.h"
#include "document/FindCommand.h"
#include "document/Highlighting.h"
#include "document/SourceEditor.h"
#include "ftp/FtpPanel.h"
#include "generators/TablePanel.h"
#include "markup/MarkupInserter.h"
#include "markup/MarkupTable.h"
#include "markup/QuickInsertPanel.h"
#include "preview/Preview.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

const QString MainWindow::kStatusText = QStringLiteral("Tarnwick 1.6 PRO");
const QString MainWindow::kCaption = QStringLiteral("Velmora Software: Tarnwick v1.6 ");

MainWindow::MainWindow(const Guard &guard, QWidget *parent)
    : QMainWindow(parent)
    , m_guard(guard)
    , m_editor(new SourceEditor)
    , m_document(std::make_unique<DocumentCommands>(*m_editor, guard))
    , m_find(std::make_unique<FindCommand>(*m_editor, guard, this))
    , m_markup(std::make_unique<MarkupInserter>(*m_editor))
    , m_keys(new KeyDispatcher(this, m_editor))
    , m_bars(std::make_unique<CommandBars>(*this, *m_keys, [this](Commands::Id id, const QString &control) {
        execute(id, control);
    }))
{
    Accessibility::install();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setFont(Fonts::window());
    resize(1032, 746);
    setMouseTracking(true);
    Highlighting::apply(*m_editor, Highlighting::Scheme::Html, Fonts::editor());
    m_bars->buildMenus();
    m_bars->setChecked(Commands::Id::MarkupAtCaret, m_markup->atCaret());
    m_editorMenu = m_bars->buildEditorMenu();
    m_bars->buildToolBars();
    buildPanels();

    auto *status = named(new QStatusBar(this), "StatusBar1");
    status->setFixedHeight(21);
    status->setSizeGripEnabled(true);
    m_statusText = named(new QLabel(status), "StatusText");
    status->addWidget(m_statusText, 1);
    m_encoding = new EncodingControls(*m_editor, *m_bars, status);
    setStatusBar(status);
    // A screen reader asks the bar itself: it answers with the message it shows, a hint
    // while one is shown, the status text otherwise.
    connect(status, &QStatusBar::messageChanged, this, [status, this](const QString &message) {
        status->setAccessibleName(message.isEmpty() ? m_statusText->text() : message);
    });
    setStatus();

    m_document->newDocument();
    new FileDrops(this, m_editor->viewport(), [this](const QStringList &paths) { openPaths(paths, false); });
    // A scroll area gives the menu's place in its viewport's coordinates, not its own.
    connect(m_editor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_editorMenu->popup(m_editor->viewport()->mapToGlobal(pos)); });
    // Shift+F10 opens the menu at the caret, as the Menu key does.
    m_keys->addAreaKey(m_editor->parentWidget(), Qt::SHIFT | Qt::Key_F10, [this] {
        const long position = m_editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
        const QPoint caret(int(m_editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position)),
                           int(m_editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position)));
        m_editorMenu->popup(m_editor->viewport()->mapToGlobal(caret));
    });
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::action(const QString &name) const
{
    return m_bars->action(name);
}

void MainWindow::run(const std::function<void()> &command) const
{
    m_guard.run(command);
}

void MainWindow::buildPanels()
{
    auto *central = named(new QWidget(this), "ClientArea");
    central->setMouseTracking(true);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *spacer = named(new QWidget(central), "Panel1");
    spacer->setFixedHeight(7);
    outer->addWidget(spacer);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    m_filePanel = new FilePanel(m_guard, central);
    connect(m_filePanel, &FilePanel::fileChosen, this,
            [this](const QString &path) { run([this, path] { m_document->load(path); }); });
    middle->addWidget(m_filePanel);
    middle->addWidget(buildNotebook(central), 1);
    middle->addWidget(buildFtpPanel(central));
    outer->addLayout(middle, 1);
    outer->addWidget(buildBottomPanel(central));
    setCentralWidget(central);
}

QWidget *MainWindow::buildNotebook(QWidget *parent)
{
    m_notebook = named(new QTabWidget(parent), "TabbedNotebook1");
    auto *source = named(new QWidget(m_notebook), "SourcePage");
    auto *sourceLayout = new QVBoxLayout(source);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->addWidget(m_editor);
    m_notebook->addTab(source, QStringLiteral("Kod źródłowy"));

    auto *page = named(new QWidget(m_notebook), "PreviewPage");
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    auto *previewBar = m_bars->buildPreviewBar(page);
    buildLivePreviewBox(previewBar);
    pageLayout->addWidget(previewBar);
    auto *host = named(new QWidget(page), "WebBrowser1Host");
    host->setLayout(new QVBoxLayout);
    host->layout()->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(host, 1);
    m_notebook->addTab(page, QStringLiteral("Podgląd"));
    m_preview = std::make_unique<Preview>(host, m_guard);
    connect(m_notebook, &QTabWidget::currentChanged, this, &MainWindow::showPage);
    // Ctrl+Tab and Ctrl+PageDown (and back) turn the notebook's pages from anywhere inside it,
    // the preview's web view included; on the source page the editor takes the focus.
    const auto turn = [this](int step) {
        m_notebook->setCurrentIndex((m_notebook->currentIndex() + step + m_notebook->count()) % m_notebook->count());
        if (m_notebook->currentIndex() == 0)
            m_editor->setFocus(Qt::ShortcutFocusReason);
    };
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown})
        m_keys->addAreaKey(m_notebook, key, [turn] { turn(1); });
    for (const QKeyCombination key : {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::Key_Backtab, Qt::CTRL | Qt::Key_PageUp})
        m_keys->addAreaKey(m_notebook, key, [turn] { turn(-1); });
    return m_notebook;
}

void MainWindow::showPage(int index)
{
    bool shown = false;
    run([&] {
        m_preview->show(*m_editor, m_filePanel->folder());
        shown = true;
    });
    if (shown) {
        m_shownPage = index;
    } else {
        // The preview file could not be written: the notebook keeps the page it showed.
        const QSignalBlocker blocker(m_notebook);
        m_notebook->setCurrentIndex(m_shownPage);
    }
}

QWidget *MainWindow::buildLivePreviewBox(QWidget *bar)
{
    // Off by default: the preview follows the text about half a second after it stops
    // changing, while the preview page is shown (markup commands, the panels, the wizards).
    m_livePreview = named(new QCheckBox(QStringLiteral("Odświeżaj na bieżąco"), bar), "Odswiezajnabiezaco1");
    qobject_cast<QToolBar *>(bar)->addWidget(m_livePreview);
    m_livePreviewTimer = new QTimer(this);
    m_livePreviewTimer->setSingleShot(true);
    m_livePreviewTimer->setInterval(500);
    // The editor reports its changes only while they are followed: typing in the source page
    // pays nothing for it.
    const auto follow = [this] {
        m_editor->setReportsTextChanges(m_livePreview->isChecked() && m_notebook->currentIndex() == kPreviewPage);
    };
    connect(m_livePreview, &QCheckBox::toggled, this, follow);
    connect(m_notebook, &QTabWidget::currentChanged, this, follow);
    connect(m_editor, &QsciScintilla::textChanged, this, [this] {
        if (m_livePreview->isChecked() && m_notebook->currentIndex() == kPreviewPage)
            m_livePreviewTimer->start();
    });
    connect(m_livePreviewTimer, &QTimer::timeout, this, [this] {
        if (m_notebook->currentIndex() == kPreviewPage)
            run([this] { m_preview->show(*m_editor, m_filePanel->folder()); });
    });
    return m_livePreview;
}

QWidget *MainWindow::buildFtpPanel(QWidget *parent)
{
    auto *panel = named(new QWidget(parent), "Panel3");
    panel->setFixedWidth(296);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    m_ftpPanel = new FtpPanel(panel);
    m_ftpPanel->setDialogs([this]() -> Dialogs & { return m_guard.dialogs(); });
    layout->addWidget(m_ftpPanel);
    return panel;
}

QWidget *MainWindow::buildBottomPanel(QWidget *parent)
{
    auto *panel = named(new QWidget(parent), "Panel4");
    panel->setFixedHeight(155);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *tabs = named(new QTabWidget(panel), "PageControl2");
    tabs->setFixedWidth(560);
    tabs->setDocumentMode(true);
    m_quickInsert = named(new QuickInsertPanel([this](const QString &line) {
        run([this, &line] { m_markup->insertBuiltLine(line); });
    }, tabs), "TabSheet3");
    tabs->addTab(m_quickInsert, QStringLiteral("Różne"));
    auto *colouring = new ColouringPage(tabs);
    connect(colouring, &ColouringPage::commandChosen, this, [this](Commands::Id id) { execute(id, QString()); });
    tabs->addTab(colouring, QStringLiteral("Kolorowanie składni"));
    tabs->setCurrentIndex(0);
    layout->addWidget(tabs);

    auto *tableSide = named(new QWidget(panel), "Panel6");
    auto *tableLayout = new QVBoxLayout(tableSide);
    tableLayout->setContentsMargins(4, 0, 4, 4);
    m_tablePanel = new TablePanel(tableSide);
    tableLayout->addWidget(m_tablePanel);
    layout->addWidget(tableSide, 1);
    return panel;
}

void MainWindow::execute(Commands::Id id, const QString &control)
{
    using Commands::Id;
    run([this, id, control] {
        switch (id) {
        case Id::New: m_document->newDocument(); break;
        case Id::Open: m_document->open(); break;
        case Id::Save: m_document->save(); break;
        case Id::Close: close(); break;
        case Id::About: showWindow(m_windows.about, true); break;
        case Id::Markup: applyMarkup(control); break;
        case Id::MarkupAtCaret: m_markup->setAtCaret(action(control)->isChecked()); break;
        case Id::Find: m_find->show(); break;
        case Id::PageWizard: showWindow(m_windows.pageWizard, false); break;
        case Id::Templates: showWindow(m_windows.templates, true); break;
        case Id::HighlightHtml: Highlighting::apply(*m_editor, Highlighting::Scheme::Html, Fonts::editor()); break;
        case Id::HighlightPhp: Highlighting::apply(*m_editor, Highlighting::Scheme::Php, Fonts::editor()); break;
        case Id::HighlightCss: Highlighting::apply(*m_editor, Highlighting::Scheme::Css, Fonts::editor()); break;
        case Id::HighlightXml: Highlighting::apply(*m_editor, Highlighting::Scheme::Xml, Fonts::editor()); break;
        case Id::PreviewBack: m_preview->goBack(); break;
        case Id::PreviewForward: m_preview->goForward(); break;
        case Id::PreviewStop: m_preview->stop(); break;
        case Id::PreviewRefresh: m_preview->refresh(); break;
        case Id::EncodingWindows1250:
        case Id::EncodingIso88592:
        case Id::EncodingUtf8: m_encoding->convert(id); break;
        default: executeEditing(id); break;
        }
    });
}

void MainWindow::executeEditing(Commands::Id id)
{
    using Commands::Id;
    switch (id) {
    case Id::Undo: m_editor->undo(); break;
    case Id::Redo: m_editor->redo(); break;
    case Id::SelectAll: m_editor->selectAll(true); break;
    case Id::Copy: m_editor->copy(); break;
    case Id::Paste: m_editor->paste(); break;
    case Id::Cut: m_editor->cut(); break;
    case Id::Delete: m_editor->removeSelectedText(); break;
    case Id::WrapOn: m_editor->setWrapMode(QsciScintilla::WrapWord); break;
    case Id::WrapOff: m_editor->setWrapMode(QsciScintilla::WrapNone); break;
    default: break;
    }
}

void MainWindow::applyMarkup(const QString &control)
{
    if (const Markup::Command *command = Markup::forControl(control))
        m_markup->insertCommand(*command);
}

void MainWindow::showWindow(const WindowSource &source, bool modal)
{
    Q_ASSERT_X(source, "MainWindow", "a secondary window is not connected");
    if (!source)
        throw std::logic_error("a secondary window is not connected");
    QDialog *window = source();
    if (modal) {
        window->exec();
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool close = false;
    run([&] { close = m_document->closeQuery(); });
    if (!close) {
        event->ignore();
        return;
    }
    event->accept();
    WindowState::save(*this);
    m_ftpPanel->shutdown();
    emit programEnded();
}

void MainWindow::setStatus()
{
    if (m_statusText) {
        m_statusText->setText(kStatusText);
        if (statusBar()->currentMessage().isEmpty())
            statusBar()->setAccessibleName(kStatusText);
    }
}

bool MainWindow::event(QEvent *event)
{
    // Activation, a click on the window's own surface and a mouse move over it restore the text.
    const QEvent::Type type = event->type();
    if ((type == QEvent::ActivationChange && isActiveWindow()) || type == QEvent::MouseButtonPress
        || type == QEvent::MouseMove)
        setStatus();
    return QMainWindow::event(event);
}

void MainWindow::openPaths(const QStringList &paths, bool showFolder)
{
    if (paths.isEmpty())
        return;
    const QString first = QFileInfo(paths.constFirst()).absoluteFilePath();
    if (paths.size() > 1) {
        statusBar()->showMessage(QStringLiteral("Otwarto tylko pierwszy plik, %1: Tarnwick edytuje jeden dokument naraz.")
                                     .arg(QFileInfo(first).fileName()),
                                 30000);
    }
    run([this, first, showFolder] {
        if (QFileInfo(first).isDir()) {
            m_filePanel->directoryList()->setDirectory(first);
            return;
        }
        m_document->load(first);
        if (showFolder)
            m_filePanel->showFile(first);
    });
}
