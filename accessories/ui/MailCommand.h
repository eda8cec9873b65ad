#pragma once
// The Email command: the edited text as a mail (subject its file name), or links to and
// attachments of the selection, handed to the desktop's mail program; and "Email" of the
// mail button's drop-down, a new empty message through a mailto: link.

#include "accessories/MailSender.h"

#include <QObject>

#include <functional>

class BrowsePanes;
struct ListEntry;

// The text editor's open file and its text; empty when no file with text is open.
struct EditorMail {
    QString fileName;
    QString text;
};

class MailCommand : public QObject {
    Q_OBJECT
public:
    MailCommand(BrowsePanes& panes, std::function<EditorMail()> editor, QObject* parent = nullptr);

    MailSender& sender() { return *m_sender; }
    void ButtonMailClick();
    void PopupEmailClick();

private:
    bool mailEditorText();
    static ListEntry shownEntry(const QString& path);
    QString linkBody(const QList<ListEntry>& selected) const;
    bool collectAttachments(const QList<ListEntry>& selected, QStringList* files) const;

    BrowsePanes& m_panes;
    std::function<EditorMail()> m_editor;
    MailSender* m_sender;
    bool m_editorMail = false; // the mail being sent is the edited text
};
