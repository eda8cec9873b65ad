#include "platform/Pickers.h"

namespace {

class CancellingPickers final : public Pickers {
public:
    QString pickFolder(const QString&, const QString&) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

CancellingPickers cancellingPickers;
Pickers* currentPickers = &cancellingPickers;

} // namespace

Pickers::~Pickers() = default;

Pickers& Pickers::instance()
{
    return *currentPickers;
}

void Pickers::setInstance(Pickers* pickers)
{
    currentPickers = pickers ? pickers : &cancellingPickers;
}
