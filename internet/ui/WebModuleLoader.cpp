#include "internet/ui/WebModuleLoader.h"

#include "internet/ui/WebEngineModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

WebEngineModule* g_module = nullptr;
QString g_error;
QStringList g_searchFolders;

#ifdef FOLVANE_HAVE_WEBENGINE
QStringList candidates()
{
    // Tests and benchmarks run from their own folders of the build tree: the build's folder
    // comes after the program's.
    QStringList folders = g_searchFolders;
    if (folders.isEmpty())
        folders = {QCoreApplication::applicationDirPath(), QStringLiteral(FOLVANE_WEB_MODULE_BUILD_DIR)};
    QStringList paths;
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(WebModuleLoader::kFileName);
        if (!paths.contains(path))
            paths << path;
    }
    return paths;
}

WebEngineModule* loadFrom(const QString& path)
{
    auto* loader = new QPluginLoader(path, QCoreApplication::instance());
    // Every symbol is resolved now: a module that does not fit this program fails here, with
    // the reason, rather than later in the middle of a page.
    loader->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (auto* module = qobject_cast<WebEngineModule*>(loader->instance()))
        return module;
    g_error = QStringLiteral("The web browser could not be started: %1").arg(loader->errorString());
    loader->deleteLater();
    return nullptr;
}
#endif

} // namespace

const char* const WebModuleLoader::kFileName = "folvane3-web.so";

WebEngineModule* WebModuleLoader::load()
{
    if (g_module)
        return g_module;
#ifdef FOLVANE_HAVE_WEBENGINE
    g_error = QStringLiteral("The web browser is not installed: %1 was not found beside the program.")
                  .arg(QLatin1String(kFileName));
    for (const QString& path : candidates()) {
        if (QFileInfo::exists(path)) {
            g_module = loadFrom(path);
            break;
        }
    }
#else
    g_error = QStringLiteral("The web browser is not available: this build of Folvane III was made without Qt WebEngine.");
#endif
    return g_module;
}

WebEngineModule* WebModuleLoader::loaded()
{
    return g_module;
}

QString WebModuleLoader::errorString()
{
    return g_error;
}

void WebModuleLoader::setSearchFolders(const QStringList& folders)
{
    g_searchFolders = folders;
}
