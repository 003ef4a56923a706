#pragma once

#include "data/Colors.h"
#include "data/DataSource.h"

#include <QLineEdit>
#include <QPointer>
#include <functional>

namespace ballvane {

class Field;

// The character a key press would type, as an edit's key handler sees it: printable
// text, and the control characters Ctrl+letter, Escape, Backspace and Enter.
// Null for keys that type nothing (arrows, Delete, Tab, function keys).
QChar typedCharacter(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// A single-line edit bound to one field of a data source's current record. It shows
// the field's display text, and its edit text while it has the focus. What the user
// types is written into the field when the focus leaves or the record is saved;
// text set from code is written at once.
class DbEdit : public QLineEdit {
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(DbEdit& edit, QChar& key)>;
    using Handler = std::function<void(DbEdit& edit)>;

    DbEdit(QWidget* parent, const QString& componentName);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    void setDataField(const QString& fieldName);
    QString dataField() const { return m_fieldName; }
    // The bound field of the open dataset; nullptr while closed or unbound.
    Field* field() const;

    // Writes the text into the field of the current record at once.
    void setText(const QString& text);

    // The key handler may replace the character by a null one: the edit then ignores the key.
    void setOnKeyPress(KeyPressHandler handler) { m_onKeyPress = std::move(handler); }
    // Runs on every change of the text, typed or from the record.
    void setOnChange(Handler handler) { m_onChange = std::move(handler); }
    // Runs when the focus leaves, before the typed text is written into the record.
    void setOnExit(Handler handler) { m_onExit = std::move(handler); }

    // Background and text colours, and whether the flat border shows without the focus too.
    void setColour(TColor colour);
    TColor colour() const { return m_colour; }
    void setFontColour(TColor colour);
    TColor fontColour() const { return m_fontColour; }
    void setBorderAlwaysDrawn(bool on);

    // Writes text typed but not yet written into the field.
    void updateRecord();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadFromField();
    void entered();
    void exited();
    void userEdited();
    void applyLook();

    QPointer<DataSource> m_source;
    QString m_fieldName;
    KeyPressHandler m_onKeyPress;
    Handler m_onChange;
    Handler m_onExit;
    bool m_typed = false;
    bool m_writing = false;
    bool m_editing = false; // shows the edit text while the focus is here
    TColor m_colour = clWindow;
    TColor m_fontColour = clWindowText;
    bool m_borderAlwaysDrawn = false;
};

} // namespace ballvane
