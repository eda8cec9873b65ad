#include "viewers/ui/TextEditorPane.h"

#include "viewers/EditorSettings.h"

TextEditorPane::TextEditorPane(QWidget* parent)
    : BasicViewPane({vmTextEditor, "TextEditor", bandTextEditor, {}, EditorSettings::kGroup}, parent)
{
}
