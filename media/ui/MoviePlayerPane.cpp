#include "media/ui/MoviePlayerPane.h"

#include <QWidget>

MoviePlayerPane::MoviePlayerPane(QWidget* display, QObject* parent)
    : QObject(parent)
    , m_display(display)
{
    setObjectName(QStringLiteral("MoviePlayer"));
}

QWidget* MoviePlayerPane::widget() const
{
    return m_display;
}

void MoviePlayerPane::enter(const QString&)
{
}

void MoviePlayerPane::leave()
{
}

void MoviePlayerPane::stepFile(int)
{
}
