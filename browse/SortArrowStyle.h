#pragma once
// The list header's sort arrow points up while the column sorts ascending (A to Z, smallest,
// oldest first) and down while it sorts descending, whatever the desktop style. (The header
// hands styles "sort down" for ascending, and some styles then draw a downward arrow.)

#include <QProxyStyle>

class SortArrowStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
