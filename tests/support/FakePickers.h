#pragma once
// Pickers for tests: each pick takes the next scripted answer (an empty answer stands for
// Cancel) and records the caption it was asked with.

#include "platform/Pickers.h"

#include <deque>

// Which picker was asked for: a folder, files to open, or a name to save under.
enum class PickerKind { Folder, OpenFile, OpenFiles, SaveFile };

class FakePickers final : public Pickers {
public:
    FakePickers& answer(const QString& path);
    FakePickers& answerMany(const QStringList& paths);

    QString pickFolder(const QString& caption, const QString& startFolder) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    QStringList openFiles(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& suggestedPath, const QString& filter) override;

    const QStringList& captions() const { return m_captions; }
    const QList<PickerKind>& kinds() const { return m_kinds; }
    void expectScriptUsed();

private:
    QStringList next(const QString& caption, PickerKind kind);

    std::deque<QStringList> m_answers;
    QStringList m_captions;
    QList<PickerKind> m_kinds;
};
