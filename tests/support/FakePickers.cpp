#include "support/FakePickers.h"

#include <gtest/gtest.h>

FakePickers& FakePickers::answer(const QString& path)
{
    m_answers.push_back(path.isEmpty() ? QStringList() : QStringList{path});
    return *this;
}

FakePickers& FakePickers::answerMany(const QStringList& paths)
{
    m_answers.push_back(paths);
    return *this;
}

QStringList FakePickers::next(const QString& caption, PickerKind kind)
{
    m_captions << caption;
    m_kinds << kind;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected picker: " << caption.toStdString();
        return {};
    }
    QStringList scripted = m_answers.front();
    m_answers.pop_front();
    return scripted;
}

QString FakePickers::pickFolder(const QString& caption, const QString&) { return next(caption, PickerKind::Folder).value(0); }
QString FakePickers::openFile(const QString& caption, const QString&, const QString&) { return next(caption, PickerKind::OpenFile).value(0); }
QStringList FakePickers::openFiles(const QString& caption, const QString&, const QString&) { return next(caption, PickerKind::OpenFiles); }
QString FakePickers::saveFile(const QString& caption, const QString&, const QString&) { return next(caption, PickerKind::SaveFile).value(0); }

void FakePickers::expectScriptUsed()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted picks were never asked for";
    m_answers.clear();
    m_captions.clear();
    m_kinds.clear();
}
