#pragma once

#include <QMargins>
#include <QProxyStyle>

namespace ballvane {

// The page control's own look: a frame that leaves every page exactly the client
// area its controls are placed in, whatever the desktop style's frame would be.
// Set on the page control alone; its pages and their controls keep the desktop style.
class PageControlStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The distance from the page control's edges to each page.
    explicit PageControlStyle(QMargins pageMargins);

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;

private:
    QMargins m_pageMargins;
};

} // namespace ballvane
