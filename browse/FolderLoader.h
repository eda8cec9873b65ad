#pragma once
// Runs folder listings (FolderListingJob) on worker threads and hands their results to the
// thread that owns the loader, in order, as signals. A new listing cancels the one before,
// and whatever a cancelled listing still sends is dropped, so a receiver only ever sees the
// current listing. Destroying the loader cancels its listing.

#include "browse/FolderListingJob.h"

#include <QObject>

#include <memory>

class WorkerLink;

class FolderLoader : public QObject {
    Q_OBJECT
public:
    explicit FolderLoader(QObject* parent = nullptr);
    ~FolderLoader() override;

    void start(const ListingRequest& request);
    void cancel();
    // From start until finished (or cancel).
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void progressed(int count, const QString& name);
    // One delivery of the listing; the receiver may move the records out.
    void batchRead(ListingBatch& batch);
    void finished(bool ok, const QString& error);

private:
    std::shared_ptr<WorkerLink> m_link;
    bool m_running = false;
};
