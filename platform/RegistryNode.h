#pragma once
// One key of the per-user settings tree: its typed values in the order they were first
// written, and its subkeys. Key and value names compare without regard to letter case and
// keep the case they were created with, as the settings tree of the program always did.

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

enum class RegistryValueType { DWord, String, Binary };

struct RegistryValue {
    RegistryValueType type = RegistryValueType::String;
    quint32 dword = 0;
    QString text;
    QByteArray bytes;

    static RegistryValue fromDWord(quint32 value);
    static RegistryValue fromString(const QString& value);
    static RegistryValue fromBinary(const QByteArray& value);
    bool operator==(const RegistryValue& other) const;
};

class RegistryNode {
public:
    explicit RegistryNode(const QString& name = QString());

    const QString& name() const { return m_name; }

    const RegistryValue* value(const QString& name) const;
    void setValue(const QString& name, const RegistryValue& value);
    bool removeValue(const QString& name);
    const QList<std::pair<QString, RegistryValue>>& values() const { return m_values; }

    RegistryNode* child(const QString& name) const;
    RegistryNode* childOrCreate(const QString& name);
    bool removeChild(const QString& name);
    const std::vector<std::unique_ptr<RegistryNode>>& children() const { return m_children; }

private:
    qsizetype valueIndex(const QString& name) const;

    QString m_name;
    QList<std::pair<QString, RegistryValue>> m_values;
    std::vector<std::unique_ptr<RegistryNode>> m_children;
};
