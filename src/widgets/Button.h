#pragma once

#include <QPushButton>
#include <functional>

namespace ballvane {

// A push button whose action can also be performed from code: performClick runs
// the click handler even while the button is disabled, and an error passes to the
// handler that performed the click.
class Button : public QPushButton {
    Q_OBJECT
public:
    Button(QWidget* parent, const QString& componentName, const QString& caption);

    void setOnClick(std::function<void()> handler) { m_onClick = std::move(handler); }
    void performClick();

private:
    std::function<void()> m_onClick;
};

} // namespace ballvane
