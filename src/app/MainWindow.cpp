#include "app/MainWindow.h"

#include "app/Icons.h"
#include "app/LocalLists.h"
#include "app/AboutWindow.h"
#include "document/DocumentRules.h"
#include "document/Failure.h"
#include "document/FindDialog.h"
#include "document/Highlighting.h"
#include "document/Preview.h"
#include "document/SourceEditor.h"
#include "ftp/FtpPanel.h"
#include "generators/TablePanel.h"
#include "generators/TableWizard.h"
#include "generators/PageWizard.h"
#include "generators/TemplatesWindow.h"
#include "controls/BarPopupMenu.h"
#include "controls/FreeButton.h"
#include "markup/MarkupTable.h"
#include "markup/QuickInsertPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

MainWindow *Form1 = nullptr;

const QString MainWindow::kStatusText = QStringLiteral("Tarnwick 1.6 PRO");
const QString MainWindow::kCaption = QStringLiteral("Velmora Software: Tarnwick v1.6 ");

namespace {

constexpr int kCtrlCode = 16384;

QFont windowFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    return f;
}

QFont editorFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    // QScintilla sizes its styles in points: 13 pixels at the usual 96 dots per inch.
    f.setPointSizeF(9.75);
    // Scintilla asks for the family by name alone; where "Courier New" is missing, name the
    // platform's own fixed-pitch font so the text stays fixed-pitch.
    if (!QFontInfo(f).fixedPitch())
        f.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    else
        f.setFamily(QFontInfo(f).family());
    return f;
}

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ownDialogs(std::make_unique<WidgetDialogs>(this))
    , m_dialogs(m_ownDialogs.get())
{
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setFont(windowFont());
    resize(1032, 746);
    setMouseTracking(true);

    s = new SourceEditor;
    Highlighting::apply(*s, Highlighting::Scheme::Html, editorFont());

    buildMenus();
    buildToolBars();
    buildPanels();

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setFixedHeight(21);
    StatusBar1->setSizeGripEnabled(true);
    auto *statusText = named(new QLabel(StatusBar1), "StatusText");
    StatusBar1->addWidget(statusText, 1);
    setStatusBar(StatusBar1);
    setStatus();

    for (const QString &line : DocumentRules::defaultDocument())
        s->appendLine(line);

    connect(s, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { BarPopupMenu1->popup(s->mapToGlobal(pos)); });
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    if (Form1 == this)
        Form1 = nullptr;
}

QAction *MainWindow::action(const QString &name) const
{
    return m_actions.value(name, nullptr);
}

void MainWindow::run(const std::function<void()> &command)
{
    runGuarded(*m_dialogs, command);
}

QAction *MainWindow::makeAction(const Commands::MenuEntry &entry, bool registerKey)
{
    auto *a = new QAction(entry.caption, this);
    a->setObjectName(QLatin1String(entry.name));
    a->setEnabled(entry.enabled);
    if (entry.icon)
        a->setIcon(Icons::get(entry.icon));
    if (entry.key) {
        // The key shows in the menu; the window's own dispatch (eventFilter) runs it, so
        // that it wins over the focused control's claim on the same key.
        a->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key(entry.key - kCtrlCode))));
        a->setShortcutContext(Qt::WidgetShortcut);
        (registerKey ? m_menuKeys : m_editorKeys).insert(entry.key - kCtrlCode, a);
    }
    if (entry.command != Commands::Id::None && entry.command != Commands::Id::Submenu) {
        const Commands::Id id = entry.command;
        const QString control = a->objectName();
        connect(a, &QAction::triggered, this, [this, id, control] { execute(id, control); });
    }
    return a;
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *levels[3] = {nullptr, nullptr, nullptr};
    for (const Commands::MenuEntry &e : Commands::mainMenu()) {
        if (e.level == 0) {
            levels[1] = bar->addMenu(e.caption);
            levels[1]->setObjectName(QLatin1String(e.name));
            continue;
        }
        QMenu *parentMenu = levels[e.level];
        if (!e.name) {
            parentMenu->addSeparator();
            continue;
        }
        if (e.command == Commands::Id::Submenu) {
            QMenu *sub = parentMenu->addMenu(e.caption);
            sub->setObjectName(QLatin1String(e.name));
            levels[2] = sub;
            continue;
        }
        QAction *a = makeAction(e, true);
        parentMenu->addAction(a);
        m_actions.insert(a->objectName(), a);
    }

    auto *barMenu = named(new BarPopupMenu(this), "BarPopupMenu1");
    QFont barFont(QStringLiteral("Tahoma"));
    barFont.setPixelSize(19);
    barFont.setBold(true);
    barFont.setItalic(true);
    barMenu->setVerticalFont(barFont, 0xFFFFFF);
    barMenu->setVerticalText(QStringLiteral("Tarnwick"));
    BarPopupMenu1 = barMenu;
    for (const Commands::MenuEntry &e : Commands::editorMenu()) {
        if (!e.name) {
            BarPopupMenu1->addSeparator();
            continue;
        }
        QAction *a = makeAction(e, false);
        BarPopupMenu1->addAction(a);
        m_actions.insert(a->objectName(), a);
    }
}

void MainWindow::buildToolBars()
{
    ToolBar1 = named(new QToolBar(QStringLiteral("ToolBar1"), this), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFixedHeight(29);
    ToolBar1->setIconSize(QSize(16, 16));
    for (const Commands::ToolEntry &t : Commands::toolBar1()) {
        if (!t.name) {
            ToolBar1->addSeparator();
            continue;
        }
        auto *a = new QAction(Icons::get(t.icon), t.hint, this);
        a->setObjectName(QLatin1String(t.name));
        a->setToolTip(t.hint);
        const Commands::Id id = t.command;
        const QString control = a->objectName();
        connect(a, &QAction::triggered, this, [this, id, control] { execute(id, control); });
        ToolBar1->addAction(a);
        ToolBar1->widgetForAction(a)->setObjectName(control);
        m_actions.insert(control, a);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);

    ToolBar2 = named(new QToolBar(QStringLiteral("ToolBar2"), this), "ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(29);
    for (const Commands::TextButton &t : Commands::toolBar2()) {
        if (!t.name) {
            ToolBar2->addSeparator();
            continue;
        }
        auto *b = new QToolButton(ToolBar2);
        b->setObjectName(QLatin1String(t.name));
        b->setText(t.caption);
        b->setFixedSize(t.width, 23);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        if (t.bold) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
        }
        const Commands::Id id = t.command;
        const QString control = b->objectName();
        connect(b, &QToolButton::clicked, this, [this, id, control] { execute(id, control); });
        ToolBar2->addWidget(b);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar2);
}

void MainWindow::buildPanels()
{
    auto *central = named(new QWidget(this), "ClientArea");
    central->setMouseTracking(true);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Panel1 = named(new QWidget(central), "Panel1");
    Panel1->setFixedHeight(7);
    outer->addWidget(Panel1);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(buildFilePanel());
    middle->addWidget(buildNotebook(), 1);
    middle->addWidget(buildFtpPanel());
    outer->addLayout(middle, 1);
    outer->addWidget(buildBottomPanel());
    setCentralWidget(central);
}

QWidget *MainWindow::buildFilePanel()
{
    Panel2 = named(new QWidget, "Panel2");
    Panel2->setFixedWidth(161);
    Panel2->setMinimumHeight(465);

    FilterComboBox1 = named(new QComboBox(Panel2), "FilterComboBox1");
    FilterComboBox1->setAccessibleName(QStringLiteral("FilterComboBox1"));
    FilterComboBox1->setGeometry(8, 8, 145, 21);
    const QList<QPair<QString, QString>> filters = {
        {QStringLiteral("HTML (*.html)"), QStringLiteral("*.html")},
        {QStringLiteral("HTM (*.htm)"), QStringLiteral("*.htm")},
        {QStringLiteral("PHP (*.php)"), QStringLiteral("*.php")},
        {QStringLiteral("CSS (*.css)"), QStringLiteral("*.css")},
        {QStringLiteral("TXT (*.txt)"), QStringLiteral("*.txt")},
        {QStringLiteral("Wszystkie pliki (*.*)"), QStringLiteral("*.*")},
    };
    for (const auto &f : filters)
        FilterComboBox1->addItem(f.first, f.second);

    DriveComboBox1 = named(new DriveComboBox(Panel2), "DriveComboBox1");
    DriveComboBox1->setAccessibleName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(8, 40, 145, 21);

    DirectoryListBox1 = named(new DirectoryListBox(Panel2), "DirectoryListBox1");
    DirectoryListBox1->setAccessibleName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(8, 72, 145, 153);

    FileListBox1 = named(new FileListBox(Panel2), "FileListBox1");
    FileListBox1->setAccessibleName(QStringLiteral("FileListBox1"));
    FileListBox1->setGeometry(8, 232, 145, 225);

    connect(FilterComboBox1, &QComboBox::activated, this,
            [this] { run([this] { FileListBox1->setMask(FilterComboBox1->currentData().toString()); }); });
    connect(DriveComboBox1, &DriveComboBox::driveChosen, this,
            [this](const QString &root) { run([this, root] { DirectoryListBox1->setDirectory(root); }); });
    connect(DirectoryListBox1, &DirectoryListBox::directoryChanged, this,
            [this](const QString &dir) { FileListBox1->setDirectory(dir); });
    // FileListBox1Change: a selected entry replaces the document at once.
    connect(FileListBox1, &FileListBox::selectionChangedTo, this, [this](const QString &path) {
        if (!path.isEmpty())
            run([this, path] { loadDocument(path); });
    });

    FileListBox1->setMask(QStringLiteral("*.html"));
    DriveComboBox1->selectDriveOf(QDir::currentPath());
    DirectoryListBox1->setDirectory(QDir::currentPath());
    return Panel2;
}

QWidget *MainWindow::buildNotebook()
{
    TabbedNotebook1 = named(new QTabWidget, "TabbedNotebook1");
    auto *source = named(new QWidget, "SourcePage");
    auto *sourceLayout = new QVBoxLayout(source);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->addWidget(s);
    TabbedNotebook1->addTab(source, QStringLiteral("Kod źródłowy"));

    auto *preview = named(new QWidget, "PreviewPage");
    auto *previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(0);
    ToolBar3 = named(new QToolBar(QStringLiteral("ToolBar3"), preview), "ToolBar3");
    ToolBar3->setFixedHeight(29);
    ToolBar3->setIconSize(QSize(16, 16));
    for (const Commands::ToolEntry &t : Commands::toolBar3()) {
        auto *a = new QAction(Icons::get(t.icon), t.hint, this);
        a->setObjectName(QLatin1String(t.name));
        a->setToolTip(t.hint);
        ToolBar3->addAction(a);
        ToolBar3->widgetForAction(a)->setObjectName(QLatin1String(t.name));
        m_actions.insert(a->objectName(), a);
    }
    previewLayout->addWidget(ToolBar3);
    auto *host = named(new QWidget(preview), "WebBrowser1Host");
    host->setLayout(new QVBoxLayout);
    host->layout()->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(host, 1);
    TabbedNotebook1->addTab(preview, QStringLiteral("Podgląd"));
    m_preview = std::make_unique<Preview>(host);
    const std::pair<const char *, void (Preview::*)()> previewButtons[] = {
        {"ToolButton5", &Preview::goBack},
        {"ToolButton27", &Preview::goForward},
        {"ToolButton35", &Preview::stop},
        {"ToolButton36", &Preview::refresh},
    };
    for (const auto &[name, operation] : previewButtons) {
        auto op = operation;
        connect(action(QLatin1String(name)), &QAction::triggered, this, [this, op] { run([this, op] { (m_preview.get()->*op)(); }); });
    }
    connect(TabbedNotebook1, &QTabWidget::currentChanged, this, [this](int index) {
        bool shown = false;
        run([&] {
            TabbedNotebook1Change();
            shown = true;
        });
        if (shown) {
            m_shownPage = index;
        } else {
            // The preview file could not be written: the notebook keeps the page it showed.
            const QSignalBlocker blocker(TabbedNotebook1);
            TabbedNotebook1->setCurrentIndex(m_shownPage);
        }
    });
    return TabbedNotebook1;
}

QWidget *MainWindow::buildFtpPanel()
{
    Panel3 = named(new QWidget, "Panel3");
    Panel3->setFixedWidth(296);
    auto *layout = new QVBoxLayout(Panel3);
    layout->setContentsMargins(0, 0, 0, 0);
    ftpPanel = new FtpPanel(Panel3);
    ftpPanel->setErrorHandler([this](const QString &message) { m_dialogs->showError(message); });
    PageControl1 = ftpPanel->PageControl1;
    layout->addWidget(ftpPanel);
    return Panel3;
}

QWidget *MainWindow::buildBottomPanel()
{
    Panel4 = named(new QWidget, "Panel4");
    Panel4->setFixedHeight(155);
    auto *layout = new QHBoxLayout(Panel4);
    layout->setContentsMargins(0, 0, 0, 0);

    PageControl2 = named(new QTabWidget(Panel4), "PageControl2");
    PageControl2->setFixedWidth(560);
    PageControl2->setDocumentMode(true);
    quickInsert = named(new QuickInsertPanel([this](const QString &line) { appendMarkupLine(line); }),
                        "TabSheet3");
    PageControl2->addTab(quickInsert, QStringLiteral("Różne"));

    auto *colouring = named(new QWidget, "TabSheet4");
    colouringGroup = named(new QGroupBox(QStringLiteral("Kolorowanie składni:"), colouring), "GroupBox6");
    const struct {
        const char *name, *caption;
        QRect geometry;
        Commands::Id command;
    } colourButtons[] = {
        {"FreeButton1", "HTML", {8, 24, 273, 41}, Commands::Id::HighlightHtml},
        {"FreeButton2", "PHP", {8, 72, 273, 41}, Commands::Id::HighlightPhp},
        {"FreeButton3", "CSS", {288, 24, 249, 41}, Commands::Id::HighlightCss},
        {"FreeButton4", "XML", {288, 72, 249, 41}, Commands::Id::HighlightXml},
    };
    QFont captionFont(QStringLiteral("Verdana"));
    captionFont.setPixelSize(13);
    for (const auto &b : colourButtons) {
        auto *button = named(new FreeButton(colouringGroup), b.name);
        button->setGeometry(b.geometry);
        button->setBackColor(14215660);
        button->setCaptionFont(captionFont, 0xFFFFFF);
        button->setCaption(QLatin1String(b.caption));
        const Commands::Id id = b.command;
        connect(button, &FreeButton::onClick, this, [this, id] { execute(id, QString()); });
        colouringButtons.append(button);
    }
    auto *fill = new QVBoxLayout(colouring);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(colouringGroup);
    PageControl2->addTab(colouring, QStringLiteral("Kolorowanie składni"));
    PageControl2->setCurrentIndex(0);
    layout->addWidget(PageControl2);

    Panel6 = named(new QWidget(Panel4), "Panel6");
    auto *tableLayout = new QVBoxLayout(Panel6);
    tableLayout->setContentsMargins(4, 0, 4, 4);
    tablePanel = new TablePanel(Panel6);
    tableLayout->addWidget(tablePanel);
    connect(tablePanel, &TablePanel::wizardRequested, this, [this] { showSecondary(Form3); });
    layout->addWidget(Panel6, 1);
    return Panel4;
}

void MainWindow::execute(Commands::Id id, const QString &control)
{
    using Commands::Id;
    run([this, id, control] {
        switch (id) {
        case Id::New: newDocument(); break;
        case Id::Open: openDocument(); break;
        case Id::Save: saveDocument(); break;
        case Id::Close: close(); break;
        case Id::Undo: s->undo(); break;
        case Id::Redo: s->redo(); break;
        case Id::SelectAll: s->selectAll(true); break;
        case Id::Copy: s->copy(); break;
        case Id::Paste: s->paste(); break;
        case Id::Cut: s->cut(); break;
        case Id::Delete: s->removeSelectedText(); break;
        case Id::WrapOn: s->setWrapMode(QsciScintilla::WrapWord); break;
        case Id::WrapOff: s->setWrapMode(QsciScintilla::WrapNone); break;
        case Id::About: showAbout(); break;
        case Id::Markup:
            if (const Markup::Command *c = Markup::forControl(control))
                applyMarkup(*c);
            break;
        case Id::Find: showFindDialog(); break;
        case Id::PageWizard: showSecondary(Form4); break;
        case Id::Templates:
            if (Form6)
                Form6->exec();
            break;
        case Id::HighlightHtml: Highlighting::apply(*s, Highlighting::Scheme::Html, editorFont()); break;
        case Id::HighlightPhp: Highlighting::apply(*s, Highlighting::Scheme::Php, editorFont()); break;
        case Id::HighlightCss: Highlighting::apply(*s, Highlighting::Scheme::Css, editorFont()); break;
        case Id::HighlightXml: Highlighting::apply(*s, Highlighting::Scheme::Xml, editorFont()); break;
        case Id::None:
        case Id::Submenu:
            break;
        }
    });
}

void MainWindow::newDocument()
{
    s->clearAll();
    for (const QString &line : DocumentRules::defaultDocument())
        s->appendLine(line);
}

void MainWindow::openDocument()
{
    const std::optional<QString> path = m_dialogs->openFileName();
    if (path)
        loadDocument(*path);
}

void MainWindow::loadDocument(const QString &path)
{
    s->loadFromFile(path);
}

void MainWindow::saveDocument()
{
    saveState.filters = DocumentRules::saveFilters();
    const std::optional<Dialogs::SaveChoice> choice = m_dialogs->saveFileName(saveState);
    if (!choice)
        return;
    saveState.fileName = choice->fileName;
    saveState.filterIndex = choice->filterIndex;
    defaultExtension = DocumentRules::defaultExtensionFor(choice->filterIndex, defaultExtension);
    s->saveToFile(DocumentRules::savePath(choice->fileName, defaultExtension));
    s->setDocumentUnmodified();
}

void MainWindow::applyMarkup(const Markup::Command &command)
{
    if (command.placement == Markup::Placement::Head) {
        s->insertLine(Markup::kHeadIndex, command.lines.constFirst());
        return;
    }
    for (const QString &line : command.lines)
        s->appendLine(line);
}

void MainWindow::appendMarkupLine(const QString &line)
{
    run([this, &line] { s->appendLine(line); });
}

void MainWindow::TabbedNotebook1Change()
{
    m_preview->show(*s);
}

void MainWindow::showSecondary(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::showFindDialog()
{
    FindPos = 0;
    if (!TFindDialog1) {
        TFindDialog1 = new FindDialog(this);
        connect(TFindDialog1, &FindDialog::find, this, [this] { run([this] { TFindDialog1Find(); }); });
    }
    TFindDialog1->show();
    TFindDialog1->raise();
    TFindDialog1->activateWindow();
}

void MainWindow::TFindDialog1Find()
{
    const QString text = TFindDialog1->findText();
    const qsizetype start = FindPos == 0 ? 1 : FindPos + text.size();
    const std::optional<qsizetype> hit = s->find(start - 1, text, TFindDialog1->matchCase());
    if (!hit) {
        m_dialogs->showMessage(QStringLiteral("Nie mogę odnaleźć \"%1\"").arg(text));
        return;
    }
    FindPos = *hit + 1;
    // The match is selected where find() left it: the same range as positions FindPos - 1
    // to FindPos - 1 + the text's length, without counting the document again.
    s->selectLastHit();
    s->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    s->activateWindow();
    s->setFocus();
}

void MainWindow::showAbout()
{
    if (!Form2)
        return;
    Form2->exec();
}

bool MainWindow::closeQuery()
{
    if (!s->isDocumentModified())
        return true;
    switch (m_dialogs->askSaveChanges()) {
    case Dialogs::Answer::Cancel:
        return false;
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Yes:
        break;
    }
    saveState.filters = DocumentRules::saveFilters();
    const std::optional<Dialogs::SaveChoice> choice = m_dialogs->saveFileName(saveState);
    if (!choice)
        return false;
    saveState.fileName = choice->fileName;
    saveState.filterIndex = choice->filterIndex;
    bool saved = false;
    // The name is written exactly as chosen, with no extension appended.
    run([&] {
        s->saveToFile(choice->fileName);
        saved = true;
    });
    return saved;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool close = false;
    run([&] { close = closeQuery(); });
    if (!close) {
        event->ignore();
        return;
    }
    event->accept();
    ftpPanel->shutdown();
    emit programEnded();
}

QAction *MainWindow::shortcutFor(const QKeyEvent &key, QWidget *focus) const
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::ControlModifier)
        return nullptr;
    const int code = key.key();
    if (focus && (focus == s || s->isAncestorOf(focus)))
        if (QAction *a = m_editorKeys.value(code, nullptr))
            return a;
    return m_menuKeys.value(code, nullptr);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || qobject_cast<QMenu *>(widget))
        return QMainWindow::eventFilter(watched, event);
    QAction *a = shortcutFor(*static_cast<QKeyEvent *>(event), widget);
    if (!a || !a->isEnabled())
        return QMainWindow::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Claim the key for the window, so it arrives here as a key press and no control
        // (an entry field, the editor) acts on it first.
        event->accept();
        return true;
    }
    a->trigger();
    return true;
}

void MainWindow::setStatus()
{
    if (auto *label = StatusBar1 ? StatusBar1->findChild<QLabel *>(QStringLiteral("StatusText")) : nullptr)
        label->setText(kStatusText);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        setStatus();
    QMainWindow::changeEvent(event);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    setStatus();
    QMainWindow::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    setStatus();
    QMainWindow::mouseMoveEvent(event);
}
