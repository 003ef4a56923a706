#include "Button.h"

#include "HandlerGuard.h"

namespace ballvane {

Button::Button(QWidget* parent, const QString& componentName, const QString& caption) : QPushButton(caption, parent) {
    setObjectName(componentName);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { HandlerGuard::run([this] { performClick(); }); });
}

void Button::performClick() {
    if (m_onClick) m_onClick();
}

} // namespace ballvane
