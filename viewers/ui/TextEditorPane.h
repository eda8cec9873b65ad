#pragma once
// The text editor pane TextEditor (mode vmTextEditor): its band ToolBarTextEditor and the
// editor's stored values (subkey "Editor"). The editor itself is not here yet.

#include "platform/ui/BasicViewPane.h"

class TextEditorPane : public BasicViewPane {
    Q_OBJECT
public:
    explicit TextEditorPane(QWidget* parent = nullptr);
};
