#pragma once

#include <QLineEdit>
#include <functional>

class Database;

// An edit of one value the editing layer holds: it shows the value as read, and in full while
// focused; the first keystroke begins the change, and what is typed is written as the user
// leaves the edit or the change is stored. A refused text shows the store's message and stays
// for correction.
class ValueEdit : public QLineEdit {
    Q_OBJECT
public:
    struct Binding {
        std::function<QString(bool editing)> text;    // the value, as read or as edited
        std::function<void()> begin;                  // the first keystroke
        std::function<void(const QString&)> check;    // raises the message for a refused text
        std::function<void(const QString&)> write;    // takes the text typed
        bool figure = false;                          // a number, typed in the user's locale
    };

    explicit ValueEdit(QWidget* parent = nullptr);
    // The keystroke that begins a change, and each write, is an action stored in `db`; an empty
    // binding shows nothing.
    void bind(Database* db, Binding binding);

    // Writes what was typed; false when its text was refused.
    bool commit();
    // Shows the value again, dropping what was typed.
    void reset();
    // The change is being stored: what is typed joins it, unless it is the text refused before,
    // which has said why once.
    void takeForStore();
    bool typing() const { return m_dirty; }
    // Writing what was typed, which may show the value again by itself.
    bool committing() const { return m_committing; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Database* m_db = nullptr;
    Binding m_binding;
    bool m_dirty = false;
    bool m_committing = false;
    QString m_refused; // the text last refused, not offered again unchanged
};
