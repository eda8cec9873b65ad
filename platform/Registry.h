#pragma once
// The per-user settings tree: keys and subkeys holding typed values (32-bit integers,
// strings, byte blocks), kept in a readable text file in $XDG_CONFIG_HOME/QuorVel/Folvane3/.
//
// A Registry is a working copy of that file: load() reads it, the calls below change the
// copy, save() writes it back atomically (temporary file in the same folder, fsync, rename,
// fsync of the folder), so a crash or a full disk in the middle of a save leaves the previous
// file complete. Callers load, change and save around each group of writes, so two running
// instances lose only what both changed (the last writer wins).
//
// Key paths are relative to the user's branch and separated by backslashes
// ("Software\QuorVel\Folvane3\Settings\Editor"); key and value names ignore letter case.
// Values are read and written in the key opened last with openKey().

#include "platform/RegistryNode.h"
#include "platform/Status.h"

#include <QString>
#include <QStringList>

#include <optional>

class Registry {
public:
    // The file of the current user's settings tree.
    static QString userStorePath();

    explicit Registry(const QString& filePath = userStorePath());

    const QString& filePath() const { return m_filePath; }

    // Reads the file. A missing file gives an empty tree. A file that cannot be read or
    // parsed leaves the tree empty and fails with a message naming the file and the fault;
    // the file itself is not touched.
    Status load();
    // Writes the tree atomically, creating the folder when needed. On failure the previous
    // file stays as it was, no temporary file is left, and the message says what failed.
    Status save();

    bool keyExists(const QString& path) const;
    // Makes path the current key. Without canCreate a missing key is not created and false
    // is returned. An invalid path (empty, a name with control characters...) gives false.
    bool openKey(const QString& path, bool canCreate);
    void closeKey() { m_current = nullptr; }
    bool hasCurrentKey() const { return m_current != nullptr; }
    // Deletes the key with its values and subkeys.
    bool deleteKey(const QString& path);

    // In the current key:
    bool valueExists(const QString& name) const;
    std::optional<RegistryValueType> valueType(const QString& name) const;
    // Each read gives nullopt when the value is missing or stored under another type.
    std::optional<qint32> readInteger(const QString& name) const;
    std::optional<QString> readString(const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& name) const;
    // Each write replaces the value whatever its earlier type; false without a current key.
    bool writeInteger(const QString& name, qint32 value);
    bool writeString(const QString& name, const QString& value);
    bool writeBinary(const QString& name, const QByteArray& value);
    bool deleteValue(const QString& name);
    QStringList valueNames() const;
    QStringList subkeyNames() const;

    const RegistryNode& root() const { return m_root; }

private:
    RegistryNode* find(const QString& path) const;
    const RegistryValue* current(const QString& name) const;
    bool write(const QString& name, const RegistryValue& value);

    QString m_filePath;
    RegistryNode m_root;
    RegistryNode* m_current = nullptr;
};
