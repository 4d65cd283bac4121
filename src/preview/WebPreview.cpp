// The web-engine preview: a plug-in, so that only the first preview loads the browser engine.
#include "core/Failure.h"
#include "preview/PreviewView.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QObject>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// The preview file sits alone in the user's cache folder, so the page's relative references
// (images, style sheets, links) point there. They are sent to the same place under the folder
// the document came from, the file panel's folder; the preview file itself is left untouched.
class BaseFolderInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setFolders(const QString &previewFile, const QString &baseFolder)
    {
        const QMutexLocker lock(&m_mutex);
        m_previewFile = QDir::cleanPath(QFileInfo(previewFile).absoluteFilePath());
        m_previewFolder = QFileInfo(m_previewFile).absolutePath();
        m_baseFolder = baseFolder.isEmpty() ? QString() : QDir::cleanPath(QDir(baseFolder).absolutePath());
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        if (!url.isLocalFile())
            return;
        const QString path = QDir::cleanPath(url.toLocalFile());
        const QMutexLocker lock(&m_mutex);
        if (m_baseFolder.isEmpty() || path == m_previewFile)
            return;
        const QString relative = QDir(m_previewFolder).relativeFilePath(path);
        const QString mapped = QDir::cleanPath(QDir(m_baseFolder).filePath(relative));
        if (mapped == path)
            return;
        // Inside the cache folder nothing but the preview file is meant. A reference that climbs
        // above it ("../css/a.css") is sent on only when it finds nothing where it points and
        // something under the document's folder; an absolute path that exists stays as it is.
        const bool inside = !relative.startsWith(QLatin1String("../"));
        if (inside || (!QFileInfo::exists(path) && QFileInfo::exists(mapped))) {
            QUrl target = QUrl::fromLocalFile(mapped);
            target.setQuery(url.query());
            target.setFragment(url.fragment());
            info.redirect(target);
        }
    }

private:
    QMutex m_mutex;
    QString m_previewFile;
    QString m_previewFolder;
    QString m_baseFolder;
};

class WebPreview : public PreviewView
{
public:
    explicit WebPreview(QWidget *parent) : m_view(new QWebEngineView(parent))
    {
        m_view->setObjectName(QStringLiteral("WebBrowser1"));
        m_view->setAccessibleName(QStringLiteral("Podgląd"));
        // Owned by the page, so the page never outlives it.
        m_interceptor = new BaseFolderInterceptor(m_view->page());
        m_view->page()->setUrlRequestInterceptor(m_interceptor);
    }

    QWidget *widget() override { return m_view; }

    void navigate(const QString &localPath, const QString &baseFolder) override
    {
        m_interceptor->setFolders(localPath, baseFolder);
        m_view->load(QUrl::fromLocalFile(localPath));
        m_navigated = true;
    }

    void goBack() override
    {
        if (!m_view->history()->canGoBack())
            throw Failure(QStringLiteral("Nie można cofnąć: w historii podglądu nie ma wcześniejszej strony."));
        m_view->back();
    }

    void goForward() override
    {
        if (!m_view->history()->canGoForward())
            throw Failure(QStringLiteral("Nie można przejść dalej: w historii podglądu nie ma następnej strony."));
        m_view->forward();
    }

    void stop() override { m_view->stop(); }

    void refresh() override
    {
        if (!m_navigated)
            throw Failure(QStringLiteral("Nie można odświeżyć: podgląd nie wyświetla jeszcze żadnej strony."));
        m_view->reload();
    }

private:
    QWebEngineView *m_view;
    BaseFolderInterceptor *m_interceptor;
    bool m_navigated = false;
};

} // namespace

class WebPreviewFactory : public QObject, public PreviewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewFactory_iid)
    Q_INTERFACES(PreviewFactory)
public:
    PreviewView *create(QWidget *parent) override { return new WebPreview(parent); }
};

#include "WebPreview.moc"
