#pragma once
// Typing in a text view: characters, Enter, Tab, Backspace and Delete at the caret or over
// the selection, cut and paste, and the input method's composition (drawn in place at the
// caret until it is committed). Every change goes to the document as an edit of the view's
// side; the caret then stands after what was put in.
//
// On a filler row of the result there is no line to type into: what is typed there becomes
// a new line at that place, before the line below it.
#include <QString>
#include <QVariant>
#include <Qt>
#include <cstdint>
#include <optional>

class CKestrilaneDoc;
class CTextView;
class QInputMethodEvent;
class QKeyEvent;
class QPainter;
class QPoint;

class CTextEditing {
public:
    CTextEditing(CTextView& view, CKestrilaneDoc& doc);

    // The typing keys (text, Enter, Tab, Backspace, Delete); false for any other key.
    bool HandleKey(QKeyEvent* event);
    // Puts text in place of the selection, or at the caret. A typed character joins the
    // typing before it into one undo step.
    bool InsertText(const QString& text, bool typed = false);
    // Takes away the selection, or the character before (Backspace) or after the caret.
    bool Erase(bool forward);
    // The selection to the clipboard and out of the text; the clipboard's text in its place.
    void Cut();
    void Paste();
    // The caret to a byte offset of the view's text, scrolled into sight.
    void PutCaretAt(std::int64_t offset);

    void InputMethodEvent(QInputMethodEvent* event);
    QVariant InputMethodQuery(Qt::InputMethodQuery query) const;
    // The composition shown at the caret (empty when none).
    const QString& preedit() const { return preedit_; }
    // Draws the composition over the text at the caret's top-left point (client coordinates).
    void PaintPreedit(QPainter& painter, QPoint caret, int lineHeight) const;

private:
    // The bytes of the view's text that an edit replaces: the selection, or the caret's place.
    struct Place {
        std::int64_t begin = 0;
        std::int64_t end = 0;
        bool newLine = false;  // the caret stands on a filler row (or past the last line)
    };
    std::optional<Place> EditPlace() const;
    // Applies the edit of [begin, end) to utf8 and puts the caret after it.
    bool Replace(const Place& place, const std::string& utf8, bool typed);

    CTextView& view_;
    CKestrilaneDoc& doc_;
    QString preedit_;
    int preeditCursor_ = 0;
};
