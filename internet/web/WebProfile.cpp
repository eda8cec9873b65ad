#include "internet/web/WebProfile.h"

#include "internet/WebProfileFolders.h"
#include "platform/LocalFiles.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

namespace {

QWebEngineProfile* g_profile = nullptr;

} // namespace

QWebEngineProfile* WebProfile::instance()
{
    if (g_profile)
        return g_profile;
    LocalFiles::makePath(WebProfileFolders::dataFolder());
    LocalFiles::makePath(WebProfileFolders::cacheFolder());
    // A named profile keeps its cookies and cache on disk, in the folders set here.
    g_profile = new QWebEngineProfile(QStringLiteral("Folvane3"), QCoreApplication::instance());
    g_profile->setPersistentStoragePath(WebProfileFolders::dataFolder());
    g_profile->setCachePath(WebProfileFolders::cacheFolder());
    g_profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    g_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return g_profile;
}

QWebEngineProfile* WebProfile::existing()
{
    return g_profile;
}
