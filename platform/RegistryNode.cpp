#include "platform/RegistryNode.h"

#include <algorithm>

RegistryValue RegistryValue::fromDWord(quint32 value)
{
    RegistryValue v;
    v.type = RegistryValueType::DWord;
    v.dword = value;
    return v;
}

RegistryValue RegistryValue::fromString(const QString& value)
{
    RegistryValue v;
    v.type = RegistryValueType::String;
    v.text = value;
    return v;
}

RegistryValue RegistryValue::fromBinary(const QByteArray& value)
{
    RegistryValue v;
    v.type = RegistryValueType::Binary;
    v.bytes = value;
    return v;
}

bool RegistryValue::operator==(const RegistryValue& other) const
{
    if (type != other.type)
        return false;
    switch (type) {
    case RegistryValueType::DWord: return dword == other.dword;
    case RegistryValueType::String: return text == other.text;
    case RegistryValueType::Binary: return bytes == other.bytes;
    }
    return false;
}

RegistryNode::RegistryNode(const QString& name)
    : m_name(name)
{
}

qsizetype RegistryNode::valueIndex(const QString& name) const
{
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (m_values[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const RegistryValue* RegistryNode::value(const QString& name) const
{
    const qsizetype i = valueIndex(name);
    return i < 0 ? nullptr : &m_values[i].second;
}

void RegistryNode::setValue(const QString& name, const RegistryValue& value)
{
    const qsizetype i = valueIndex(name);
    if (i < 0)
        m_values.append({name, value});
    else
        m_values[i].second = value;
}

bool RegistryNode::removeValue(const QString& name)
{
    const qsizetype i = valueIndex(name);
    if (i < 0)
        return false;
    m_values.removeAt(i);
    return true;
}

RegistryNode* RegistryNode::child(const QString& name) const
{
    for (const auto& c : m_children) {
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
    }
    return nullptr;
}

RegistryNode* RegistryNode::childOrCreate(const QString& name)
{
    if (RegistryNode* existing = child(name))
        return existing;
    m_children.push_back(std::make_unique<RegistryNode>(name));
    return m_children.back().get();
}

bool RegistryNode::removeChild(const QString& name)
{
    const auto it = std::find_if(m_children.begin(), m_children.end(), [&](const auto& c) {
        return c->name().compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == m_children.end())
        return false;
    m_children.erase(it);
    return true;
}
