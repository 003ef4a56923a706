#include "DbNavigator.h"

#include "Dialogs.h"
#include "HandlerGuard.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace ballvane {

namespace {
struct ButtonLook {
    DbNavigator::Action action;
    const char* name;
    const char* accessibleName;
    bool bar;     // a stop bar beside the arrow, for first and last
    bool pointsLeft;
};

constexpr std::array<ButtonLook, 4> looks{{
    {DbNavigator::Action::First, "nbFirst", "First record", true, true},
    {DbNavigator::Action::Prior, "nbPrior", "Prior record", false, true},
    {DbNavigator::Action::Next, "nbNext", "Next record", false, false},
    {DbNavigator::Action::Last, "nbLast", "Last record", true, false},
}};

// The classic glyphs: a solid triangle, with a bar for first and last.
QIcon glyph(const ButtonLook& look, const QColor& colour) {
    QPixmap pixmap(12, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const qreal tipX = look.pointsLeft ? 2 : 10;
    const qreal baseX = look.pointsLeft ? 8 : 4;
    QPainterPath triangle;
    triangle.moveTo(tipX + (look.bar ? (look.pointsLeft ? 2 : -2) : 0), 5);
    triangle.lineTo(baseX + (look.bar ? (look.pointsLeft ? 2 : -2) : 0), 1);
    triangle.lineTo(baseX + (look.bar ? (look.pointsLeft ? 2 : -2) : 0), 9);
    triangle.closeSubpath();
    painter.drawPath(triangle);
    if (look.bar) painter.drawRect(QRectF(look.pointsLeft ? 1 : 9, 1, 2, 8));
    return QIcon(pixmap);
}
} // namespace

DbNavigator::DbNavigator(QWidget* parent, const QString& componentName) : QWidget(parent) {
    setObjectName(componentName);
    setFocusPolicy(Qt::NoFocus);
    for (size_t i = 0; i < looks.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(looks[i].name));
        button->setAccessibleName(QString::fromLatin1(looks[i].accessibleName));
        button->setFocusPolicy(Qt::NoFocus);
        QIcon icon = glyph(looks[i], Qt::black);
        icon.addPixmap(glyph(looks[i], Qt::gray).pixmap(12, 10), QIcon::Disabled);
        button->setIcon(icon);
        const Action action = looks[i].action;
        connect(button, &QToolButton::clicked, this, guarded([this, action] { doAction(action); }));
        m_buttons[i] = button;
    }
    updateButtons();
}

void DbNavigator::setDataSource(DataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::stateChanged, this, &DbNavigator::updateButtons);
        connect(source, &DataSource::currentChanged, this, &DbNavigator::updateButtons);
        connect(source, &DataSource::rowsChanged, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::doAction(Action action) {
    Dataset* dataset = m_source ? m_source->dataset() : nullptr;
    if (!dataset || !dataset->active()) return;
    switch (action) {
    case Action::First: dataset->first(); break;
    case Action::Prior: dataset->prior(); break;
    case Action::Next: dataset->next(); break;
    case Action::Last: dataset->last(); break;
    case Action::Insert: dataset->insert(); break;
    case Action::Edit: dataset->edit(); break;
    case Action::Post: dataset->post(); break;
    case Action::Cancel: dataset->cancel(); break;
    case Action::Delete:
        if (!m_confirmDelete || Dialogs::current().confirm(QStringLiteral("Delete record?"))) dataset->remove();
        break;
    }
}

QToolButton* DbNavigator::button(Action action) const {
    for (size_t i = 0; i < looks.size(); ++i)
        if (looks[i].action == action) return m_buttons[i];
    return nullptr;
}

bool DbNavigator::available(Action action) const {
    const QToolButton* found = button(action);
    return found && found->isEnabled();
}

void DbNavigator::updateButtons() {
    const Dataset* dataset = m_source ? m_source->dataset() : nullptr;
    const bool open = isEnabled() && dataset && dataset->active();
    const bool up = open && !dataset->atFirst();
    const bool down = open && !dataset->atLast();
    for (size_t i = 0; i < looks.size(); ++i) {
        const bool backwards = looks[i].action == Action::First || looks[i].action == Action::Prior;
        m_buttons[i]->setEnabled(backwards ? up : down);
    }
}

void DbNavigator::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) updateButtons();
    QWidget::changeEvent(event);
}

void DbNavigator::resizeEvent(QResizeEvent* event) {
    // Four buttons of equal width across the whole navigator.
    const int count = static_cast<int>(m_buttons.size());
    for (int i = 0; i < count; ++i) {
        const int left = width() * i / count;
        const int right = width() * (i + 1) / count;
        m_buttons[static_cast<size_t>(i)]->setGeometry(left, 0, right - left, height());
    }
    QWidget::resizeEvent(event);
}

} // namespace ballvane
