#pragma once
// The text editor's stored values (subkey "Editor"), with their defaults, in stored order.

#include "platform/SettingsTable.h"

#include <span>

struct EditorSettings {
    bool textEditorAutoIndent = false;
    bool textEditorMakeBackup = false;
    bool textEditorWordwrap = false;
    int textEditorTabType = 0;
    int textEditorTabSize = 8;
    int textEditorWrapColumn = 80;
    QString textEditorFont = QStringLiteral("Terminal");
    int textEditorSize = 8;

    static constexpr const char* kGroup = "Editor";
    static std::span<const SettingFieldOf<EditorSettings>> fields();
};
