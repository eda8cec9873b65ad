#include "browse/FolderLoader.h"

#include "browse/WorkerLink.h"

namespace {

// The job's results, posted back through the link.
class LinkSink : public ListingSink {
public:
    LinkSink(std::shared_ptr<WorkerLink> link, FolderLoader* loader, std::function<void()> done)
        : m_link(std::move(link))
        , m_loader(loader)
        , m_done(std::move(done))
    {
    }

    bool isCancelled() const override { return m_link->isCancelled(); }

    void progressed(int count, const QString& name) override
    {
        m_link->post([loader = m_loader, count, name] { Q_EMIT loader->progressed(count, name); });
    }

    void batchRead(ListingBatch&& batch) override
    {
        auto shared = std::make_shared<ListingBatch>(std::move(batch));
        m_link->post([loader = m_loader, shared] { Q_EMIT loader->batchRead(*shared); });
    }

    void finished(bool ok, const QString& error) override
    {
        m_link->post([loader = m_loader, done = m_done, ok, error] {
            done();
            Q_EMIT loader->finished(ok, error);
        });
    }

private:
    std::shared_ptr<WorkerLink> m_link;
    FolderLoader* m_loader;
    std::function<void()> m_done;
};

} // namespace

FolderLoader::FolderLoader(QObject* parent)
    : QObject(parent)
{
}

FolderLoader::~FolderLoader()
{
    if (m_link)
        m_link->detach();
}

void FolderLoader::start(const ListingRequest& request)
{
    cancel();
    m_link = std::make_shared<WorkerLink>(this);
    m_running = true;
    auto sink = std::make_shared<LinkSink>(m_link, this, [this] { m_running = false; });
    WorkerLink::pool().start([request, sink] {
        FolderListingJob job(request, *sink);
        job.run();
    });
}

void FolderLoader::cancel()
{
    if (m_link)
        m_link->detach();
    m_link.reset();
    m_running = false;
}
