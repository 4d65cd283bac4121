#include "preview/Preview.h"

#include "core/Dialogs.h"
#include "core/Failure.h"
#include "preview/PreviewView.h"
#include "document/SourceEditor.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QStandardPaths>
#include <QWidget>

#include <QOpenGLContext>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Exported by Qt GUI; the web engine renders through the context it names.
void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

QString &overriddenPath()
{
    static QString path;
    return path;
}

// The plug-in sits beside the program in the build tree and in lib/tarnwick once installed.
QStringList pluginCandidates()
{
    const QString app = QCoreApplication::applicationDirPath();
    QStringList dirs = {app, app + QStringLiteral("/../lib/tarnwick"), app + QStringLiteral("/..")};
#ifdef TARNWICK_INSTALL_LIBDIR
    dirs << app + QStringLiteral("/../" TARNWICK_INSTALL_LIBDIR "/tarnwick");
#endif
#ifdef TARNWICK_BUILD_DIR
    dirs << QStringLiteral(TARNWICK_BUILD_DIR);
#endif
    return dirs;
}

// Makes the preview file's folder and the file itself private to their owner before the
// document is written. The folder keeps every other user from opening the file, or the
// temporary file a save writes beside it, at any moment. An existing file is made private
// first, because the save's temporary file is created with, and keeps, the mode of the file it
// replaces; a missing one is created empty with that mode for the same reason.
void makePrivate(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString &reason) {
        return Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(native, reason));
    };
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw fail(QStringLiteral("Nie można utworzyć folderu \"%1\".").arg(QDir::toNativeSeparators(dir)));
    QFile folder(dir);
    if (!folder.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw fail(folder.errorString());
    QFile file(path);
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    const bool ready = file.exists() ? file.setPermissions(owner)
                                     : file.open(QIODevice::WriteOnly | QIODevice::NewOnly, owner);
    if (!ready)
        throw fail(file.errorString());
}

} // namespace

Preview::Preview(QWidget *host, const Guard &guard) : m_host(host), m_guard(guard) {}

Preview::~Preview() = default;

QString Preview::filePath()
{
    if (!overriddenPath().isEmpty())
        return overriddenPath();
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\TarnwickView.html");
#else
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return QDir(dir).filePath(QStringLiteral("TarnwickView.html"));
#endif
}

void Preview::setFilePath(const QString &path)
{
    overriddenPath() = path;
}

PreviewView &Preview::ensureView()
{
    if (m_view)
        return *m_view;
#ifdef Q_OS_UNIX
    // Chromium refuses to start its sandbox as root (as on CI); only then is it switched off.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // The web engine renders through an OpenGL context shared with every window. Asking Qt
    // for it when the application starts (Qt::AA_ShareOpenGLContexts) costs every start-up
    // about 90 ms, so it is made here, on the first preview, just before the engine loads.
    if (!QOpenGLContext::globalShareContext()) {
        auto *context = new QOpenGLContext(qApp);
        context->create();
        qt_gl_set_global_share_context(context);
    }
    QString error;
    for (const QString &dir : pluginCandidates()) {
        QPluginLoader loader(QDir(dir).filePath(QStringLiteral("tarnwick_preview")));
        if (QObject *instance = loader.instance()) {
            if (auto *factory = qobject_cast<PreviewFactory *>(instance)) {
                // QT_LOGGING_RULES="tarnwick.preview.info=true" tells which plug-in was loaded.
                static const QLoggingCategory category("tarnwick.preview", QtWarningMsg);
                qCInfo(category).noquote() << QFileInfo(loader.fileName()).canonicalFilePath();
                m_view = factory->create(m_host);
                m_view->setPageDialogs([this](const Dialogs::PageQuestion &question) {
                    return m_guard.dialogs().askPage(question);
                });
                m_host->layout()->addWidget(m_view->widget());
                return *m_view;
            }
        } else if (error.isEmpty() || QDir(dir).exists(QStringLiteral("tarnwick_preview.so"))) {
            error = loader.errorString();
        }
    }
    throw Failure(QStringLiteral("Nie można uruchomić podglądu: %1").arg(error));
}

void Preview::writeFile(const SourceEditor &editor) const
{
    const QString path = filePath();
    makePrivate(path);
    editor.saveToFile(path);
}

void Preview::show(const SourceEditor &editor, const QString &baseFolder)
{
    writeFile(editor);
    ensureView().navigate(filePath(), baseFolder);
}

void Preview::goBack() { ensureView().goBack(); }
void Preview::goForward() { ensureView().goForward(); }
void Preview::stop() { ensureView().stop(); }
void Preview::refresh() { ensureView().refresh(); }
