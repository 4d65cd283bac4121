#pragma once

#include "core/Dialogs.h"

#include <QString>
#include <QtPlugin>
#include <functional>

class QWidget;

// The embedded web view of the preview page. The engine behind it lives in a plug-in that is
// loaded on first use, so start-up never pays for it.
class PreviewView
{
public:
    virtual ~PreviewView() = default;
    virtual QWidget *widget() = 0;
    // Loads the preview file; relative references of the page resolve against baseFolder.
    // Loading the address shown again counts as a reload for the engine, which keeps the
    // page's scroll position.
    virtual void navigate(const QString &localPath, const QString &baseFolder) = 0;
    // Each throws Failure with the user's message when the view cannot do it.
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;

    // Who answers the page's alert(), confirm() and prompt(). The plug-in does not link the
    // program's libraries, so the question crosses as a plain function.
    using PageDialogs = std::function<Dialogs::PageAnswer(const Dialogs::PageQuestion &)>;
    virtual void setPageDialogs(PageDialogs ask) = 0;
};

class PreviewFactory
{
public:
    virtual ~PreviewFactory() = default;
    virtual PreviewView *create(QWidget *parent) = 0;
};

#define PreviewFactory_iid "pl.velmora.tarnwick.PreviewFactory/1.1"
Q_DECLARE_INTERFACE(PreviewFactory, PreviewFactory_iid)
