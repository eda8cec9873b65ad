#pragma once
// The program's own properties window of a file or folder: name, type, location, size (a
// folder's total is summed on a worker thread while the window shows), modified, accessed and
// created times, owner and permissions, which the owner can change with OK.

#include "platform/FileProperties.h"

#include <QDialog>
#include <QFutureWatcher>

#include <array>
#include <atomic>
#include <memory>

class QCheckBox;
class QLabel;

class PropertiesDialog final : public QDialog {
    Q_OBJECT
public:
    PropertiesDialog(const QString& path, const FileProperties& properties, QWidget* parent = nullptr);
    ~PropertiesDialog() override;

    void accept() override;

    // The permission bits as the boxes show them.
    unsigned chosenPermissions() const;

private:
    void addPermissionBoxes(class QFormLayout* form);
    void folderTotalReady();

    QString m_path;
    FileProperties m_properties;
    QLabel* m_size;
    std::array<QCheckBox*, 9> m_boxes{};
    std::shared_ptr<std::atomic<bool>> m_stop;
    QFutureWatcher<FileProperties::Total> m_total;
};

// Shows the properties window of path (modeless, freed when closed). Returns an empty string,
// or the error text for the caller to report ("The specified file was not found.").
QString ShowProperties(const QString& path, QWidget* parent = nullptr);
