#include "browse/FileManagerPane.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"

FileManagerPane::FileManagerPane(TTabControlDriveFol* tabs, TPathViewFol* tree, TFileViewFol* list, QObject* parent)
    : QObject(parent)
    , m_tabs(tabs)
    , m_tree(tree)
    , m_list(list)
{
    setObjectName(QStringLiteral("FileManager"));
}

QWidget* FileManagerPane::widget() const
{
    return m_list;
}

void FileManagerPane::enter(const QString&)
{
    m_tabs->setVisible(m_tree->SingleDrive());
}

void FileManagerPane::leave()
{
    m_tabs->hide();
}

void FileManagerPane::stepFile(int)
{
}
