#include "document/FilePanel.h"

#include "controls/LocalLists.h"
#include "core/Dialogs.h"
#include "core/Named.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

namespace {

// The lists have no label: assistive technologies read their design names.
template <typename W>
W *unlabelled(W *widget, const char *name)
{
    widget->setAccessibleName(QLatin1String(name));
    return named(widget, name);
}

} // namespace

FilePanel::FilePanel(const Guard &guard, QWidget *parent)
    : QWidget(parent)
    , m_guard(guard)
    , m_filter(unlabelled(new QComboBox(this), "FilterComboBox1"))
    , m_drives(unlabelled(new DriveComboBox(this), "DriveComboBox1"))
    , m_directories(unlabelled(new DirectoryListBox(this), "DirectoryListBox1"))
    , m_files(unlabelled(new FileListBox(this), "FileListBox1"))
{
    setObjectName(QStringLiteral("Panel2"));
    m_filter->setAccessibleName(QStringLiteral("Filtr plików"));
    m_drives->setAccessibleName(QStringLiteral("Dysk"));
    setFixedWidth(161);
    setMinimumHeight(465);
    m_filter->setGeometry(8, 8, 145, 21);
    m_drives->setGeometry(8, 40, 145, 21);
    m_directories->setGeometry(8, 72, 145, 153);
    m_files->setGeometry(8, 232, 145, 225);

    const std::pair<const char *, const char *> filters[] = {
        {"HTML (*.html)", "*.html"}, {"HTM (*.htm)", "*.htm"},  {"PHP (*.php)", "*.php"},
        {"CSS (*.css)", "*.css"},    {"TXT (*.txt)", "*.txt"},  {"Wszystkie pliki (*.*)", "*.*"},
    };
    for (const auto &[caption, mask] : filters)
        m_filter->addItem(QLatin1String(caption), QLatin1String(mask));

    connect(m_filter, &QComboBox::activated, this,
            [this] { m_guard.run([this] { m_files->setMask(m_filter->currentData().toString()); }); });
    connect(m_drives, &DriveComboBox::driveChosen, this, [this](const QString &, const QString &folder) {
        m_guard.run([this, folder] { m_directories->setDirectory(folder); });
    });
    connect(m_directories, &DirectoryListBox::directoryChanged, this, [this](const QString &dir) {
        m_drives->selectDriveOf(dir);
        m_files->setDirectory(dir);
    });
    connect(m_directories, &DirectoryListBox::openFailed, this,
            [this](const QString &message) { m_guard.dialogs().showError(message); });
    connect(m_files, &FileListBox::directoryLost, this,
            [this](const QString &dir) { m_guard.run([this, dir] { m_directories->setDirectory(dir); }); });
    connect(m_files, &FileListBox::selectionChangedTo, this, [this](const QString &path) {
        if (!path.isEmpty())
            emit fileChosen(path);
    });

    m_files->setMask(QStringLiteral("*.html"));
    m_drives->selectDriveOf(QDir::currentPath());
    m_directories->setDirectory(QDir::currentPath());
}

QString FilePanel::folder() const
{
    return m_files->directory();
}

void FilePanel::showFile(const QString &path)
{
    const QFileInfo file(path);
    m_directories->setDirectory(file.absolutePath());
    m_files->showSelected(file.fileName());
}
