#pragma once
// What the main window's idle handler reads of a pane that shows or edits text (the text
// editor, the file viewer) to enable the commands of their tool bands. A pane implements
// it beside ViewPane; every call is asked at each idle moment, so each must only return a
// flag the pane already keeps.

class TextPaneState {
public:
    virtual ~TextPaneState() = default;

    virtual bool hasSelection() const = 0;
    virtual bool canUndo() const { return false; }
    virtual bool isModified() const { return false; }
    virtual int lineCount() const { return 0; }
};
