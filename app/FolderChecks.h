#pragma once
// The window's looks at stored folders, which may lie on a mount that no longer answers: the
// start folder is resolved and the recent folders are checked on a worker, and the answers
// come back as signals on the window's thread, so that a dead network share in the settings
// cannot freeze the window at start or at a folder change.

#include <QObject>
#include <QStringList>

#include <memory>

class WorkerLink;

class FolderChecks : public QObject {
    Q_OBJECT
public:
    explicit FolderChecks(QObject* parent = nullptr);
    ~FolderChecks() override;

    // StartFolder::resolve of the stored item and folder, and which recent folders are gone.
    void checkStart(const QString& currentItem, const QString& currentPath, const QStringList& recent);
    // Which recent folders are gone.
    void checkRecent(const QStringList& recent);

Q_SIGNALS:
    void startChecked(const QString& startFolder, const QStringList& goneRecent);
    void recentChecked(const QStringList& gone);

private:
    std::shared_ptr<WorkerLink> m_link;
};
