#include "viewers/EditorSettings.h"

std::span<const SettingFieldOf<EditorSettings>> EditorSettings::fields()
{
    using E = EditorSettings;
    static const SettingFieldOf<E> table[] = {
        {"TextEditorAutoIndent", &E::textEditorAutoIndent}, {"TextEditorMakeBackup", &E::textEditorMakeBackup},
        {"TextEditorWordwrap", &E::textEditorWordwrap},     {"TextEditorTabType", &E::textEditorTabType},
        {"TextEditorTabSize", &E::textEditorTabSize},       {"TextEditorWrapColumn", &E::textEditorWrapColumn},
        {"TextEditorFont", &E::textEditorFont},             {"TextEditorSize", &E::textEditorSize},
    };
    return table;
}
