#include "platform/ui/BasicViewPane.h"

BasicViewPane::BasicViewPane(const Shape& shape, QWidget* parent)
    : QWidget(parent)
    , m_shape(shape)
{
    setObjectName(QLatin1String(shape.objectName));
    // An empty pane shows the list's background, not the window's, as the panes do later.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QString BasicViewPane::settingsGroup() const
{
    return m_shape.settingsGroup ? QLatin1String(m_shape.settingsGroup) : QString();
}

void BasicViewPane::enter(const QString&)
{
}

void BasicViewPane::leave()
{
}

void BasicViewPane::stepFile(int)
{
}
