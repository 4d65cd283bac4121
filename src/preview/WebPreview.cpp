// The web-engine preview: a plug-in, so that only the first preview loads the browser engine.
#include "core/Failure.h"
#include "preview/PreviewView.h"

#include <QObject>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {

class WebPreview : public PreviewView
{
public:
    explicit WebPreview(QWidget *parent) : m_view(new QWebEngineView(parent))
    {
        m_view->setObjectName(QStringLiteral("WebBrowser1"));
        m_view->setAccessibleName(QStringLiteral("Podgląd"));
    }

    QWidget *widget() override { return m_view; }

    void navigate(const QString &localPath) override
    {
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
