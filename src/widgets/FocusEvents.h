#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace ballvane {

// Focus-enters and focus-leaves events for any widget, derived from the focus
// moving between widgets of one window: leaving runs from the widget that had the
// focus outwards to the nearest container of the new one, entering from there
// inwards. Focus going to another window (a message box) and coming back is no move.
// A handler that moves the focus itself ends the move in progress; the new move
// then starts from where the old one had reached.
class FocusEvents : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    static FocusEvents& instance();

    void onEnter(QWidget* widget, Handler handler);
    void onExit(QWidget* widget, Handler handler);

    // The widget the program takes to hold the focus in its window.
    QWidget* focused() const { return m_logical; }

private:
    FocusEvents();
    void focusMoved(QWidget* now);
    void dispatch();
    bool runHandlers(std::multimap<QWidget*, Handler>& handlers, QWidget* widget);
    void forget(QObject* widget);

    std::multimap<QWidget*, Handler> m_enter;
    std::multimap<QWidget*, Handler> m_exit;
    QPointer<QWidget> m_logical;
    QPointer<QWidget> m_pending;
    bool m_dispatching = false;
};

} // namespace ballvane
