#pragma once
// Facts about paths that the idle handler shows and tests at every idle moment (whether
// the folder exists, its drive's name, total and free size), asked of the file system by a
// worker and kept here. A question to a dead network mount can block for minutes; the
// window reads only this cache, which a worker refreshes at most every two seconds per
// folder, one question at a time.
//
// Plain QtCore; the answers arrive on the owner's thread.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

class PathFactsCache : public QObject {
    Q_OBJECT
public:
    struct Facts {
        bool known = false; // false until a worker has looked once
        bool exists = false;
        bool isDir = false;
        QString driveName; // the drive's caption, empty when the folder is on none
        qint64 total = 0;  // bytes
        qint64 free = 0;
        bool zipEncrypted = false; // a ".ZIP" file whose first entry is encrypted
    };

    // How old an answer may be before it is asked again.
    static constexpr int kRefreshMs = 2000;

    explicit PathFactsCache(QObject* parent = nullptr);
    ~PathFactsCache() override;

    // The cached facts of folder (or file) (unknown until the first answer); asks a worker again
    // when the answer is older than kRefreshMs and no question about it is under way.
    Facts facts(const QString& folder);
    // Forgets every answer's age: the next facts() asks again (the program changed files).
    void expire();
    // Waits until no question is under way (tests, benchmarks).
    void waitForIdle();

    // What a worker asks of the file system (public for tests).
    static Facts look(const QString& folder);

Q_SIGNALS:
    // An answer arrived that differs from the one kept.
    void changed();

private:
    struct Entry {
        Facts facts;
        QElapsedTimer age;
        bool pending = false;
    };
    void store(const QString& folder, const Facts& facts);

    QHash<QString, Entry> m_entries;
    QThreadPool m_pool;
};
