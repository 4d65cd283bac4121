// The web-engine preview: a plug-in, so that only the first preview loads the browser engine.
#include "core/Failure.h"
#include "preview/PreviewView.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// Lets a local file load only as a page or as what draws a page: pictures, style sheets,
// scripts, fonts, sound and video. Every other load of a local file (fetch(), XMLHttpRequest,
// frames, objects, workers) is refused, so a script cannot read the user's files. Loads from
// the network pass as in a browser. What a page draws from beside it is looked for beside the
// document, in the file panel's folder.
class LocalFileGate : public QWebEngineUrlRequestInterceptor
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
        if (!info.requestUrl().isLocalFile())
            return;
        switch (info.resourceType()) {
        case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        case QWebEngineUrlRequestInfo::ResourceTypeScript:
        case QWebEngineUrlRequestInfo::ResourceTypeImage:
        case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
        case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
            redirect(info);
            return;
        default:
            info.block(true);
        }
    }

private:
    // Relative references of the page point into the cache folder, where the preview file sits
    // alone; they are sent to the same place under the folder the document came from.
    void redirect(QWebEngineUrlRequestInfo &info)
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

    QMutex m_mutex;
    QString m_previewFile;
    QString m_previewFolder;
    QString m_baseFolder;
};

// The page in the preview. It is a local file and gets what a browser gives a file opened from
// disk; its script dialogs go to the program's own boxes.
class PreviewPage : public QWebEnginePage
{
public:
    explicit PreviewPage(QObject *parent) : QWebEnginePage(parent)
    {
        // A browser lets a local page show local and remote pictures, style sheets, scripts
        // and fonts, but no script of it reads other local files. This engine loads nothing
        // local into a local page unless LocalContentCanAccessFileUrls is on, and nothing
        // remote unless LocalContentCanAccessRemoteUrls is on; with both on, its origin rules
        // no longer keep local files from scripts, so the gate below does that.
        settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        m_gate = new LocalFileGate(this);
        setUrlRequestInterceptor(m_gate);
        connect(this, &QWebEnginePage::loadStarted, this, &PreviewPage::startLoad);
    }

    void setDialogs(PreviewView::PageDialogs ask) { m_ask = std::move(ask); }
    void setFolders(const QString &previewFile, const QString &baseFolder) { m_gate->setFolders(previewFile, baseFolder); }

    // A box still waiting for the user is closed: the program is replacing the page.
    void leave() { delete m_scope; }

protected:
    void javaScriptAlert(const QUrl &, const QString &message) override
    {
        ask(Dialogs::PageQuestion::Kind::Alert, message, QString());
    }

    bool javaScriptConfirm(const QUrl &, const QString &message) override
    {
        return ask(Dialogs::PageQuestion::Kind::Confirm, message, QString()).accepted;
    }

    bool javaScriptPrompt(const QUrl &, const QString &message, const QString &defaultText,
                          QString *result) override
    {
        const Dialogs::PageAnswer answer = ask(Dialogs::PageQuestion::Kind::Prompt, message, defaultText);
        if (answer.accepted && result)
            *result = answer.text;
        return answer.accepted;
    }

private:
    // As browsers do: from the second box of one page load on, the user may silence the page.
    static constexpr int kOfferSilenceFrom = 2;

    // Silenced or dismissed, alert() returns at once, confirm() answers false, prompt() null.
    Dialogs::PageAnswer ask(Dialogs::PageQuestion::Kind kind, const QString &message, const QString &defaultText)
    {
        if (m_silenced || !m_ask || m_scope)
            return {};
        Dialogs::PageQuestion question;
        question.kind = kind;
        question.message = message;
        question.defaultText = defaultText;
        question.offerSilence = ++m_shown >= kOfferSilenceFrom;
        m_scope = new QObject(this);
        question.scope = m_scope;
        const int load = m_load;
        const Dialogs::PageAnswer answer = m_ask(question);
        const bool dismissed = m_scope.isNull();
        delete m_scope;
        // The answer belongs to the page that asked, not to one loaded while the box was up.
        if (dismissed || load != m_load)
            return {};
        m_silenced = question.offerSilence && answer.silence;
        return answer;
    }

    void startLoad()
    {
        ++m_load;
        m_shown = 0;
        m_silenced = false;
        delete m_scope;
    }

    LocalFileGate *m_gate;
    PreviewView::PageDialogs m_ask;
    QPointer<QObject> m_scope; // set while a box waits for the user
    int m_load = 0;
    int m_shown = 0;
    bool m_silenced = false;
};

class WebPreview : public PreviewView
{
public:
    explicit WebPreview(QWidget *parent)
        : m_view(new QWebEngineView(parent)), m_page(new PreviewPage(m_view))
    {
        m_view->setPage(m_page);
        m_view->setObjectName(QStringLiteral("WebBrowser1"));
        m_view->setAccessibleName(QStringLiteral("Podgląd"));
    }

    QWidget *widget() override { return m_view; }

    void navigate(const QString &localPath, const QString &baseFolder) override
    {
        m_page->leave();
        m_page->setFolders(localPath, baseFolder);
        m_view->load(QUrl::fromLocalFile(localPath));
        m_navigated = true;
    }

    void goBack() override
    {
        if (!m_view->history()->canGoBack())
            throw Failure(QStringLiteral("Nie można cofnąć: w historii podglądu nie ma wcześniejszej strony."));
        m_page->leave();
        m_view->back();
    }

    void goForward() override
    {
        if (!m_view->history()->canGoForward())
            throw Failure(QStringLiteral("Nie można przejść dalej: w historii podglądu nie ma następnej strony."));
        m_page->leave();
        m_view->forward();
    }

    void stop() override { m_view->stop(); }

    void refresh() override
    {
        if (!m_navigated)
            throw Failure(QStringLiteral("Nie można odświeżyć: podgląd nie wyświetla jeszcze żadnej strony."));
        m_page->leave();
        m_view->reload();
    }

    void setPageDialogs(PageDialogs ask) override { m_page->setDialogs(std::move(ask)); }

private:
    QWebEngineView *m_view;
    PreviewPage *m_page;
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
