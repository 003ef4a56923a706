#include "DbEdit.h"

#include "FocusEvents.h"
#include "HandlerGuard.h"
#include "Palette.h"
#include "data/Field.h"

#include <QKeyEvent>

namespace ballvane {

namespace {
constexpr char16_t backspace = 8;
constexpr char16_t enter = 13;
constexpr char16_t escape = 27;
} // namespace

QChar typedCharacter(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    if (control && key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(static_cast<char16_t>(key - Qt::Key_A + 1));
    switch (key) {
    case Qt::Key_Escape: return QChar(escape);
    case Qt::Key_Backspace: return QChar(backspace);
    case Qt::Key_Return:
    case Qt::Key_Enter: return QChar(enter);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return {};
    default: break;
    }
    if (text.isEmpty() || !text.front().isPrint()) return {};
    return text.front();
}

DbEdit::DbEdit(QWidget* parent, const QString& componentName) : QLineEdit(parent) {
    setObjectName(componentName);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_onChange) HandlerGuard::run([this] { m_onChange(*this); });
    });
    connect(this, &QLineEdit::textEdited, this, guarded([this] { userEdited(); }));
    FocusEvents::instance().onEnter(this, [this] { entered(); });
    FocusEvents::instance().onExit(this, [this] { exited(); });
    applyLook();
}

void DbEdit::setColour(TColor colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    applyLook();
}

void DbEdit::setFontColour(TColor colour) {
    if (colour == m_fontColour) return;
    m_fontColour = colour;
    applyLook();
}

void DbEdit::setBorderAlwaysDrawn(bool on) {
    m_borderAlwaysDrawn = on;
    applyLook();
}

void DbEdit::applyLook() {
    // A flat one-pixel frame: always drawn, or only while the edit has the focus.
    const QString frame = QStringLiteral("#7a7a7a");
    setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; color: %2; border: 1px solid %3; padding: 0px; }"
                                 "QLineEdit:focus { border: 1px solid %4; }")
                      .arg(toQColor(m_colour).name(), toQColor(m_fontColour).name(),
                           m_borderAlwaysDrawn ? frame : QStringLiteral("transparent"), frame));
}

void DbEdit::setDataSource(DataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::currentChanged, this, guarded([this] { loadFromField(); }));
        connect(source, &DataSource::fieldChanged, this, guarded([this](int index) {
                    if (Field* bound = field(); bound && bound->index() == index) loadFromField();
                }));
        if (source->dataset()) source->dataset()->addRecordUpdater(this, [this] { updateRecord(); });
    }
    HandlerGuard::run([this] { loadFromField(); });
}

void DbEdit::setDataField(const QString& fieldName) {
    m_fieldName = fieldName;
    HandlerGuard::run([this] { loadFromField(); });
}

Field* DbEdit::field() const {
    if (!m_source || !m_source->dataset() || !m_source->dataset()->active()) return nullptr;
    return m_source->dataset()->findField(m_fieldName);
}

void DbEdit::loadFromField() {
    m_typed = false;
    const Field* bound = field();
    setMaxLength(bound && bound->kind() == FieldKind::Text && bound->size() > 0 ? bound->size() : 32767);
    QLineEdit::setText(bound ? (m_editing ? bound->editText() : bound->displayText()) : QString());
}

void DbEdit::setText(const QString& text) {
    QLineEdit::setText(text);
    Field* bound = field();
    if (!bound || !m_source->edit()) return;
    try {
        bound->setEditText(text);
    } catch (...) {
        loadFromField();
        throw;
    }
}

void DbEdit::keyPressEvent(QKeyEvent* event) {
    const QChar typed = typedCharacter(event->key(), event->modifiers(), event->text());
    if (!typed.isNull()) {
        QChar key = typed;
        if (m_onKeyPress) HandlerGuard::run([&] { m_onKeyPress(*this, key); });
        if (key.isNull()) return event->accept();
        if (key == QChar(escape)) {
            // Escape takes back what was typed since the record was shown.
            HandlerGuard::run([this] { loadFromField(); });
            selectAll();
            return event->accept();
        }
        if (key != QChar(enter) && !isReadOnly()) {
            bool editable = false;
            HandlerGuard::run([&] { editable = m_source && m_source->edit(); });
            if (!editable) return event->accept();
        }
    }
    QLineEdit::keyPressEvent(event);
}

void DbEdit::userEdited() {
    if (!m_source || !m_source->edit()) {
        loadFromField();
        return;
    }
    m_typed = true;
}

void DbEdit::updateRecord() {
    if (!m_typed) return;
    Field* bound = field();
    if (!bound || !m_source->edit()) return;
    bound->setEditText(QLineEdit::text());
    m_typed = false;
}

void DbEdit::entered() {
    m_editing = true;
    if (!m_typed) loadFromField();
}

void DbEdit::exited() {
    m_editing = false;
    if (m_onExit) m_onExit(*this);
    try {
        updateRecord();
    } catch (...) {
        // The text stays for the user to mend; the focus goes back to it.
        m_editing = true;
        setFocus(Qt::OtherFocusReason);
        selectAll();
        throw;
    }
    if (!m_typed) loadFromField();
}

} // namespace ballvane
