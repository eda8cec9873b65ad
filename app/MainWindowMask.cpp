#include "app/MainWindowMask.h"

#include "platform/HistoryList.h"
#include "browse/TFileViewFol.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

MainWindowMask::MainWindowMask(QObject* parent, QComboBox* box, TFileViewFol* list)
    : QObject(parent)
    , m_box(box)
    , m_list(list)
{
    // The dropped-down list is wider than the box, as the masks are longer than it shows.
    box->view()->setMinimumWidth(150);
    connect(box, &QComboBox::currentTextChanged, this, &MainWindowMask::ComboBoxMaskChange);
    box->lineEdit()->installEventFilter(this);
}

void MainWindowMask::ComboBoxMaskChange(const QString& text)
{
    m_list->setMask(text);
    m_box->setToolTip(QStringLiteral("Current Mask = ") + text);
}

bool MainWindowMask::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        ComboBoxMaskExit();
    return QObject::eventFilter(watched, event);
}

void MainWindowMask::ComboBoxMaskExit()
{
    QComboBox* box = m_box;
    const QString text = box->currentText();
    if (text.isEmpty())
        return;
    QStringList items{text};
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    HistoryList::sortUnique(items);
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    // The item of the text: sortUnique keeps the first of equal items, which is the text.
    box->setCurrentIndex(int(items.indexOf(text)));
}
