#include "platform/Registry.h"

#include "platform/AtomicFile.h"
#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

Status failed(const QString& message)
{
    return Status::failure(QStringLiteral("Settings"), message);
}

} // namespace

QString Registry::userStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/QuorVel/Folvane3/registry.txt");
}

Registry::Registry(const QString& filePath)
    : m_filePath(filePath)
{
}

Status Registry::load()
{
    m_current = nullptr;
    m_root = RegistryNode();
    QFile file(m_filePath);
    const QFileInfo info(m_filePath);
    if (!info.exists())
        return Status();
    // Opening a pipe or a device put in the file's place would block or have side effects.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("Cannot read the settings file %1: %2").arg(m_filePath, file.errorString()));
    // Read one byte past the limit so that an oversized file is reported, not cut short.
    const QByteArray bytes = file.read(RegistryFile::kMaxFileSize + 1);
    if (const Status parsed = RegistryFile::parse(bytes, m_root); !parsed)
        return failed(QStringLiteral("The settings file %1 is damaged (%2).").arg(m_filePath, parsed.errorString()));
    return Status();
}

Status Registry::save()
{
    if (const Status written = AtomicFile::replace(QFile::encodeName(m_filePath), RegistryFile::serialize(m_root)); !written)
        return failed(QStringLiteral("Cannot save the settings: %1").arg(written.errorString()));
    return Status();
}

RegistryNode* Registry::find(const QString& path) const
{
    const auto names = RegistryFile::splitKeyPath(path);
    if (!names)
        return nullptr;
    RegistryNode* node = const_cast<RegistryNode*>(&m_root);
    for (const QString& name : *names) {
        node = node->child(name);
        if (!node)
            return nullptr;
    }
    return node;
}

bool Registry::keyExists(const QString& path) const
{
    return find(path) != nullptr;
}

bool Registry::openKey(const QString& path, bool canCreate)
{
    m_current = nullptr;
    const auto names = RegistryFile::splitKeyPath(path);
    if (!names)
        return false;
    RegistryNode* node = &m_root;
    for (const QString& name : *names) {
        RegistryNode* next = node->child(name);
        if (!next && !canCreate)
            return false;
        node = next ? next : node->childOrCreate(name);
    }
    m_current = node;
    return true;
}

bool Registry::deleteKey(const QString& path)
{
    const auto names = RegistryFile::splitKeyPath(path);
    if (!names)
        return false;
    QStringList parentNames = *names;
    const QString last = parentNames.takeLast();
    RegistryNode* parent = parentNames.isEmpty() ? &m_root : find(parentNames.join(QLatin1Char('\\')));
    if (!parent)
        return false;
    RegistryNode* doomed = parent->child(last);
    if (!doomed)
        return false;
    // The current key may lie inside the deleted branch; forget it rather than dangle.
    m_current = nullptr;
    return parent->removeChild(last);
}

const RegistryValue* Registry::current(const QString& name) const
{
    return m_current ? m_current->value(name) : nullptr;
}

bool Registry::valueExists(const QString& name) const
{
    return current(name) != nullptr;
}

std::optional<RegistryValueType> Registry::valueType(const QString& name) const
{
    const RegistryValue* v = current(name);
    return v ? std::optional(v->type) : std::nullopt;
}

std::optional<qint32> Registry::readInteger(const QString& name) const
{
    const RegistryValue* v = current(name);
    if (!v || v->type != RegistryValueType::DWord)
        return std::nullopt;
    return qint32(v->dword);
}

std::optional<QString> Registry::readString(const QString& name) const
{
    const RegistryValue* v = current(name);
    if (!v || v->type != RegistryValueType::String)
        return std::nullopt;
    return v->text;
}

std::optional<QByteArray> Registry::readBinary(const QString& name) const
{
    const RegistryValue* v = current(name);
    if (!v || v->type != RegistryValueType::Binary)
        return std::nullopt;
    return v->bytes;
}

bool Registry::write(const QString& name, const RegistryValue& value)
{
    if (!m_current)
        return false;
    m_current->setValue(name, value);
    return true;
}

bool Registry::writeInteger(const QString& name, qint32 value)
{
    return write(name, RegistryValue::fromDWord(quint32(value)));
}

bool Registry::writeString(const QString& name, const QString& value)
{
    return write(name, RegistryValue::fromString(value));
}

bool Registry::writeBinary(const QString& name, const QByteArray& value)
{
    return write(name, RegistryValue::fromBinary(value));
}

bool Registry::deleteValue(const QString& name)
{
    return m_current && m_current->removeValue(name);
}

QStringList Registry::valueNames() const
{
    QStringList names;
    if (m_current) {
        for (const auto& entry : m_current->values())
            names.append(entry.first);
    }
    return names;
}

QStringList Registry::subkeyNames() const
{
    QStringList names;
    if (m_current) {
        for (const auto& child : m_current->children())
            names.append(child->name());
    }
    return names;
}
