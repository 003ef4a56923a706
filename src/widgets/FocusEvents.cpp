#include "FocusEvents.h"

#include "HandlerGuard.h"

#include <QApplication>

namespace ballvane {

FocusEvents& FocusEvents::instance() {
    static FocusEvents* events = new FocusEvents;
    return *events;
}

FocusEvents::FocusEvents() : QObject(qApp) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void FocusEvents::onEnter(QWidget* widget, Handler handler) {
    if (!m_enter.contains(widget) && !m_exit.contains(widget))
        connect(widget, &QObject::destroyed, this, &FocusEvents::forget);
    m_enter.emplace(widget, std::move(handler));
}

void FocusEvents::onExit(QWidget* widget, Handler handler) {
    if (!m_enter.contains(widget) && !m_exit.contains(widget))
        connect(widget, &QObject::destroyed, this, &FocusEvents::forget);
    m_exit.emplace(widget, std::move(handler));
}

void FocusEvents::forget(QObject* object) {
    auto* widget = static_cast<QWidget*>(object);
    m_enter.erase(widget);
    m_exit.erase(widget);
}

void FocusEvents::focusMoved(QWidget* now) {
    // Focus leaving for another application, a message box or a popup list is no
    // move inside the window: the window keeps its own focus for when it comes back.
    if (!now || now->window()->windowType() != Qt::Window) return;
    m_pending = now;
    if (!m_dispatching) dispatch();
}

void FocusEvents::dispatch() {
    m_dispatching = true;
    while (m_pending) {
        QWidget* target = m_pending;
        m_pending = nullptr;
        if (!m_logical || m_logical->window() != target->window()) m_logical = target->window();
        bool interrupted = false;
        // Leave every widget that does not contain the new focus, innermost first.
        while (m_logical && m_logical != target && !m_logical->isAncestorOf(target)) {
            QWidget* leaving = m_logical;
            m_logical = leaving->parentWidget();
            if (runHandlers(m_exit, leaving)) {
                interrupted = true;
                break;
            }
        }
        if (interrupted) continue;
        // Enter every widget on the way down to the new focus, outermost first.
        while (m_logical != target) {
            QWidget* entering = target;
            while (entering->parentWidget() != m_logical) entering = entering->parentWidget();
            m_logical = entering;
            if (runHandlers(m_enter, entering)) break;
        }
    }
    m_dispatching = false;
}

// Runs a widget's handlers; true when one of them moved the focus elsewhere.
bool FocusEvents::runHandlers(std::multimap<QWidget*, Handler>& handlers, QWidget* widget) {
    const auto [from, to] = handlers.equal_range(widget);
    std::vector<Handler> toRun;
    for (auto it = from; it != to; ++it) toRun.push_back(it->second);
    for (const Handler& handler : toRun) {
        HandlerGuard::run(handler);
        if (m_pending) return true;
    }
    return false;
}

} // namespace ballvane
