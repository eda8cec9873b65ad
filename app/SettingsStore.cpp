#include "app/SettingsStore.h"

#include "platform/HistoryList.h"
#include "app/RecentPaths.h"
#include "platform/Registry.h"
#include "platform/RegistryRunKey.h"

#include <QFile>

#include <span>
#include <vector>

namespace {

using S = AppSettings;

// The history subkeys whose index the main window keeps for their owners.
struct IndexField {
    const char* subkey;
    const char* name;
    int AppSettings::*member;
};
const IndexField kOwnerIndexes[] = {
    {"MRUEXT", "ExtIndex", &S::extIndex},         {"MRURun", "RunIndex", &S::runIndex},
    {"MRUFind", "FindStrIndex", &S::findStrIndex}, {"MRURepl", "ReplStrIndex", &S::replStrIndex},
    {"MRUFindFile", "FileStrIndex", &S::fileStrIndex},
};

// Reads values into the settings until the first fault; every later read does nothing,
// so the values after the fault keep what the settings held before (their defaults).
class SettingsReader {
public:
    SettingsReader(Registry& registry, AppSettings& settings) : m_registry(registry), m_settings(settings) {}

    bool failed() const { return !m_failed.isEmpty(); }
    const QString& failedValue() const { return m_failed; }

    void readFields(std::span<const SettingField> fields)
    {
        for (const SettingField& field : fields)
            read(field);
    }

    void readInteger(const QString& name, int& target)
    {
        if (failed())
            return;
        if (const auto value = m_registry.readInteger(name))
            target = *value;
        else
            m_failed = name;
    }

private:
    void read(const SettingField& field)
    {
        if (failed())
            return;
        const QString name = QLatin1String(field.name);
        if (const auto* b = std::get_if<bool AppSettings::*>(&field.member)) {
            int value = 0;
            readInteger(name, value);
            if (!failed())
                m_settings.*(*b) = value != 0;
        } else if (const auto* i = std::get_if<int AppSettings::*>(&field.member)) {
            readInteger(name, m_settings.*(*i));
        } else if (const auto* s = std::get_if<QString AppSettings::*>(&field.member)) {
            // A missing string reads as empty; a value of another type is a fault.
            if (!m_registry.valueExists(name))
                (m_settings.*(*s)).clear();
            else if (const auto text = m_registry.readString(name))
                m_settings.*(*s) = *text;
            else
                m_failed = name;
        }
    }

    Registry& m_registry;
    AppSettings& m_settings;
    QString m_failed;
};

void writeFields(Registry& registry, const AppSettings& settings, std::span<const SettingField> fields)
{
    for (const SettingField& field : fields) {
        const QString name = QLatin1String(field.name);
        if (const auto* b = std::get_if<bool AppSettings::*>(&field.member))
            registry.writeInteger(name, settings.*(*b) ? 1 : 0);
        else if (const auto* i = std::get_if<int AppSettings::*>(&field.member))
            registry.writeInteger(name, settings.*(*i));
        else if (const auto* s = std::get_if<QString AppSettings::*>(&field.member))
            registry.writeString(name, settings.*(*s));
    }
}

QString keyOf(const SettingsGroup& group)
{
    return group.subkey.isEmpty() ? SettingsStore::kProgramKey : SettingsStore::subkeyPath(group.subkey);
}

// Reads a group's values when its key exists; a missing subkey keeps the defaults.
void readGroup(Registry& registry, SettingsReader& reader, const SettingsGroup& group)
{
    if (reader.failed() || !registry.openKey(keyOf(group), false))
        return;
    reader.readFields(group.readOrder);
    registry.closeKey();
}

void writeGroup(Registry& registry, const AppSettings& settings, const SettingsGroup& group)
{
    registry.openKey(keyOf(group), true);
    writeFields(registry, settings, group.written());
    registry.closeKey();
}

void readHistories(Registry& registry, SettingsReader& reader, AppSettings& settings, bool checkFolders)
{
    if (reader.failed())
        return;
    settings.mruPaths = HistoryList::read(registry, SettingsStore::subkeyPath(QStringLiteral("MRUPath")),
                                          QStringLiteral("MRUPath"));
    if (checkFolders)
        RecentPaths::update(settings.mruPaths, QString());
    else
        RecentPaths::update(settings.mruPaths, QString(), [](const QString&) { return true; });

    if (registry.openKey(SettingsStore::subkeyPath(QStringLiteral("Mask")), false)) {
        reader.readInteger(QStringLiteral("MaskIndex"), settings.maskIndex);
        registry.closeKey();
        if (reader.failed())
            return;
        settings.masks += HistoryList::read(registry, SettingsStore::subkeyPath(QStringLiteral("Mask")),
                                            QStringLiteral("Mask"));
        HistoryList::sortUnique(settings.masks);
    }
    for (const IndexField& index : kOwnerIndexes) {
        if (!registry.openKey(SettingsStore::subkeyPath(QLatin1String(index.subkey)), false))
            continue;
        reader.readInteger(QLatin1String(index.name), settings.*(index.member));
        registry.closeKey();
    }
}

} // namespace

const QString SettingsStore::kProgramKey = QStringLiteral("Software\\QuorVel\\Folvane3\\Settings");

QString SettingsStore::subkeyPath(const QString& subkey)
{
    return kProgramKey + QLatin1Char('\\') + subkey;
}

std::vector<SettingsGroup> SettingsStore::programGroups()
{
    const std::vector<SettingFieldOf<WindowSettings>> windowWritten = WindowSettings::writeOrder();
    return {
        SettingsGroup::of(WindowSettings::kGroup, WindowSettings::fields(), std::span<const SettingFieldOf<WindowSettings>>(windowWritten)),
        SettingsGroup::of(EditorSettings::kGroup, EditorSettings::fields()),
        SettingsGroup::of(ViewerSettings::kGroup, ViewerSettings::fields()),
        SettingsGroup::of(OptionsSettings::kGroup, OptionsSettings::fields()),
    };
}

SettingsStore::SettingsStore(const QString& filePath, const QString& title, const QString& program)
    : m_filePath(filePath)
    , m_title(title)
    , m_program(program)
{
    for (SettingsGroup& group : programGroups())
        registerGroup(std::move(group));
}

void SettingsStore::registerGroup(SettingsGroup group)
{
    m_groups.push_back(std::move(group));
}

bool SettingsStore::openStore(Registry& registry) const
{
    const Status loaded = registry.load();
    if (loaded)
        return true;
    // Keep the damaged file for the user to look at; the store starts afresh beside it.
    m_error = loaded.errorString();
    const QString aside = m_filePath + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (QFile::rename(m_filePath, aside))
        m_error += QStringLiteral("\r\nIt was kept as %1 and the settings start from their defaults.").arg(aside);
    else
        m_error += QStringLiteral("\r\nThe settings are not saved until it is repaired or removed.");
    return false;
}

SettingsStore::LoadResult SettingsStore::load(AppSettings& settings, FolderCheck recentFolders) const
{
    LoadResult result;
    m_error.clear();
    Registry registry(m_filePath);
    if (!openStore(registry) && QFile::exists(m_filePath)) {
        result.error = m_error;
        return result;
    }
    result.error = m_error;
    if (!registry.keyExists(kProgramKey)) {
        result.firstRun = true;
        if (!save(settings) || !registry.load()) {
            result.error = m_error;
            return result;
        }
    }

    SettingsReader reader(registry, settings);
    for (const SettingsGroup& group : m_groups)
        readGroup(registry, reader, group);
    readHistories(registry, reader, settings, recentFolders == FolderCheck::WhileLoading);

    if (reader.failed()) {
        result.repaired = true;
        result.failedValue = reader.failedValue();
        if (!save(settings))
            result.error = m_error;
    }
    return result;
}

bool SettingsStore::save(const AppSettings& settings) const
{
    m_error.clear();
    Registry registry(m_filePath);
    if (!openStore(registry) && QFile::exists(m_filePath))
        return false;

    for (const SettingsGroup& group : m_groups)
        writeGroup(registry, settings, group);

    HistoryList::overwrite(registry, subkeyPath(QStringLiteral("MRUPath")), QStringLiteral("MRUPath"), settings.mruPaths);
    HistoryList::overwrite(registry, subkeyPath(QStringLiteral("Mask")), QStringLiteral("Mask"), settings.masks);
    registry.openKey(subkeyPath(QStringLiteral("Mask")), true);
    registry.writeInteger(QStringLiteral("MaskIndex"), settings.maskIndex);
    registry.closeKey();
    for (const IndexField& index : kOwnerIndexes) {
        registry.openKey(subkeyPath(QLatin1String(index.subkey)), true);
        registry.writeInteger(QLatin1String(index.name), settings.*(index.member));
        registry.closeKey();
    }

    if (const Status saved = registry.save(); !saved) {
        m_error = saved.errorString();
        return false;
    }
    if (!m_title.isEmpty())
        RegistryRunKey::apply(m_title, m_program, settings.autoStartFolVane);
    return true;
}

std::optional<QByteArray> SettingsStore::loadBandLayout(int mode) const
{
    Registry registry(m_filePath);
    if (!registry.load() || !registry.openKey(subkeyPath(QStringLiteral("Coolbars")), false))
        return std::nullopt;
    return registry.readBinary(QString::number(mode));
}

bool SettingsStore::saveBandLayout(int mode, const QByteArray& record) const
{
    Registry registry(m_filePath);
    if (!registry.load() || !registry.openKey(subkeyPath(QStringLiteral("Coolbars")), true))
        return false;
    registry.writeBinary(QString::number(mode), record);
    return registry.save().ok();
}
