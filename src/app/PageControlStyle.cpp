#include "PageControlStyle.h"

#include <QApplication>
#include <QWidget>

namespace ballvane {

PageControlStyle::PageControlStyle(QMargins pageMargins)
    : QProxyStyle(QApplication::style()->name()), m_pageMargins(pageMargins) {}

QRect PageControlStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const {
    if (!widget) return QProxyStyle::subElementRect(element, option, widget);
    const QRect pages = widget->rect().marginsRemoved(m_pageMargins);
    switch (element) {
    case SE_TabWidgetTabContents: return pages;
    case SE_TabWidgetTabPane: {
        // The pane's frame meets the bottom of the tab row.
        const QRect tabs = QProxyStyle::subElementRect(SE_TabWidgetTabBar, option, widget);
        return QRect(QPoint(widget->rect().left(), tabs.bottom() + 1), widget->rect().bottomRight());
    }
    default: return QProxyStyle::subElementRect(element, option, widget);
    }
}

} // namespace ballvane
