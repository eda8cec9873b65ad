#include "internet/web/WebProfile.h"

#include "internet/WebProfileFolders.h"
#include "platform/LocalFiles.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

#include <utility>

namespace {

QWebEngineProfile* g_profile = nullptr;
int g_users = 0;

QWebEngineProfile* makeProfile()
{
    LocalFiles::makePath(WebProfileFolders::dataFolder());
    LocalFiles::makePath(WebProfileFolders::cacheFolder());
    // A named profile keeps its cookies and cache on disk, in the folders set here.
    auto* profile = new QWebEngineProfile(QStringLiteral("Folvane3"), QCoreApplication::instance());
    profile->setPersistentStoragePath(WebProfileFolders::dataFolder());
    profile->setCachePath(WebProfileFolders::cacheFolder());
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return profile;
}

} // namespace

QWebEngineProfile* WebProfile::acquire()
{
    if (!g_profile)
        g_profile = makeProfile();
    ++g_users;
    return g_profile;
}

void WebProfile::release()
{
    if (g_users == 0 || --g_users > 0)
        return;
    // Every page on the profile is gone (the engine warns and misbehaves otherwise).
    delete std::exchange(g_profile, nullptr);
}

QWebEngineProfile* WebProfile::existing()
{
    return g_profile;
}
