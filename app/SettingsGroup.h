#pragma once
// One group of stored values as the settings store reads and writes it: its key (a
// subkey of the program key, or the program key itself), its values in reading order and,
// where it differs, in writing order. A component's own table (over its values struct,
// which AppSettings holds as a base) becomes a group with of().

#include "app/AppSettings.h"

#include <span>
#include <type_traits>
#include <utility>
#include <vector>

struct SettingsGroup {
    QString subkey; // empty: the program key itself
    std::vector<SettingField> readOrder;
    std::vector<SettingField> writeOrder; // empty: as read

    const std::vector<SettingField>& written() const { return writeOrder.empty() ? readOrder : writeOrder; }

    template <typename Values>
    static SettingsGroup of(const char* subkey, std::span<const SettingFieldOf<Values>> fields)
    {
        return {QLatin1String(subkey), converted(fields), {}};
    }
    // A group written in another order than it is read.
    template <typename Values>
    static SettingsGroup of(const char* subkey, std::span<const SettingFieldOf<Values>> fields,
                            std::span<const SettingFieldOf<Values>> writeFields)
    {
        return {QLatin1String(subkey), converted(fields), converted(writeFields)};
    }

private:
    template <typename Values>
    static std::vector<SettingField> converted(std::span<const SettingFieldOf<Values>> fields)
    {
        static_assert(std::is_base_of_v<Values, AppSettings> || std::is_same_v<Values, AppSettings>);
        std::vector<SettingField> out;
        for (const SettingFieldOf<Values>& field : fields) {
            out.push_back({field.name, std::visit([](auto member) -> SettingField::Member {
                using Value = std::remove_reference_t<decltype(std::declval<Values&>().*member)>;
                return static_cast<Value AppSettings::*>(member);
            }, field.member)});
        }
        return out;
    }
};
