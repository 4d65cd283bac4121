#include "ftp/CurlLibrary.h"

#include "core/Failure.h"

#include <QLibrary>

namespace Curl {

namespace {

struct Loaded {
    Library functions{};
    QString error;
};

Loaded load()
{
    Loaded loaded;
    // Never unloaded: curl keeps global state and threads may still hold its handles.
    QLibrary library(QStringLiteral("curl"), 4);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load()) {
        loaded.error = QStringLiteral("Nie można wczytać biblioteki libcurl (%1).").arg(library.errorString());
        return loaded;
    }
    bool complete = true;
    const auto resolve = [&](auto &function, const char *name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
        complete = complete && function;
    };
    Library &f = loaded.functions;
    resolve(f.global_init, "curl_global_init");
    resolve(f.easy_init, "curl_easy_init");
    resolve(f.easy_cleanup, "curl_easy_cleanup");
    resolve(f.easy_reset, "curl_easy_reset");
    resolve(f.easy_setopt, "curl_easy_setopt");
    resolve(f.easy_getinfo, "curl_easy_getinfo");
    resolve(f.easy_perform, "curl_easy_perform");
    resolve(f.easy_strerror, "curl_easy_strerror");
    resolve(f.multi_init, "curl_multi_init");
    resolve(f.multi_cleanup, "curl_multi_cleanup");
    resolve(f.multi_add_handle, "curl_multi_add_handle");
    resolve(f.multi_remove_handle, "curl_multi_remove_handle");
    resolve(f.multi_perform, "curl_multi_perform");
    resolve(f.multi_poll, "curl_multi_poll");
    resolve(f.multi_info_read, "curl_multi_info_read");
    resolve(f.slist_append, "curl_slist_append");
    resolve(f.slist_free_all, "curl_slist_free_all");
    if (!complete)
        loaded.error = QStringLiteral("Biblioteka libcurl (%1) jest za stara: brak w niej potrzebnych funkcji.")
                           .arg(library.fileName());
    else if (f.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        loaded.error = QStringLiteral("Nie można uruchomić biblioteki libcurl.");
    return loaded;
}

} // namespace

const Library &lib()
{
    static const Loaded loaded = load(); // thread-safe: the first session's thread loads it
    if (!loaded.error.isEmpty())
        throw Failure(loaded.error);
    return loaded.functions;
}

} // namespace Curl
