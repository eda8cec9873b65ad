#pragma once
// One operation of the zip engine as a job, so that the window runs it off the UI thread
// (the viewer's extract and delete): work returns false with the engine's errorString().

#include "platform/Job.h"

#include <functional>

class ZipKitJob final : public Job {
public:
    explicit ZipKitJob(std::function<bool(QString& error)> work) : m_work(std::move(work)) {}

protected:
    bool plan() override
    {
        addTotal(1);
        return true;
    }
    void execute() override
    {
        QString error;
        if (!m_work(error))
            setError(error);
        itemDone();
    }

private:
    std::function<bool(QString&)> m_work;
};
