#include "browse/SortArrowStyle.h"

#include <QStyleOptionHeader>

void SortArrowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    if (element != PE_IndicatorHeaderArrow || !header || header->sortIndicator == QStyleOptionHeader::None) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const bool ascending = header->sortIndicator == QStyleOptionHeader::SortDown;
    QProxyStyle::drawPrimitive(ascending ? PE_IndicatorArrowUp : PE_IndicatorArrowDown, option, painter, widget);
}
