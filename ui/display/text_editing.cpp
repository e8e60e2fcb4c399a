#include "ui/display/text_editing.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <algorithm>

#include "engine/edit/text_edit.h"
#include "engine/edit/typing.h"
#include "engine/platform/text_encoding.h"
#include "ui/display/text_view.h"
#include "ui/document/kestrilane_doc.h"

namespace {

// The row of side's column that shows line, found from a row near it (lines stand in
// order down a column, fillers between them).
int RowOfLine(const kl::ShownRows& shown, int side, int line, int near)
{
    const int rows = shown.ColumnRowCount(side);
    if (rows == 0)
        return 0;
    int row = std::clamp(near, 0, rows - 1);
    int step = 0;
    for (int r = row; r < rows && step == 0; ++r) {
        const int at = shown.LineAt(side, r);
        if (at != kl::kNoLine)
            step = at < line ? 1 : at > line ? -1 : 2;
        if (step == 2)
            return r;
    }
    if (step == 0)
        step = -1;
    for (int r = row; r >= 0 && r < rows; r += step) {
        if (shown.LineAt(side, r) == line)
            return r;
    }
    // Not shown (shown as loaded past the end): the row of the line itself.
    return std::min(line, rows);
}

}  // namespace

CTextEditing::CTextEditing(CTextView& view, CKestrilaneDoc& doc) : view_(view), doc_(doc) {}

std::optional<CTextEditing::Place> CTextEditing::EditPlace() const
{
    const std::shared_ptr<const kl::ShownRows> shown = view_.Shown();
    const int side = view_.side();
    const kl::Text* text = doc_.textDoc.texts[static_cast<std::size_t>(side)].get();
    // The rows must show the document's text now (shown as the result they may still show
    // an older one while no rows follow it).
    if (!text || shown->TextOf(side) != text)
        return std::nullopt;
    // A position on a filler row (or past the last line) stands before the next line below.
    const auto offsetOf = [&](TextPosition position, bool& newLine) -> std::int64_t {
        newLine = false;
        for (int row = position.row; row < shown->ColumnRowCount(side); ++row) {
            const int line = shown->LineAt(side, row);
            if (line != kl::kNoLine) {
                if (row == position.row) {
                    const std::int64_t length = kl::ContentLength(*text, line);
                    return kl::LineStart(*text, line) + std::min<std::int64_t>(static_cast<std::int64_t>(position.offset), length);
                }
                newLine = true;
                return kl::LineStart(*text, line);
            }
        }
        newLine = true;
        return static_cast<std::int64_t>(text->size);
    };
    Place place;
    if (const auto range = view_.selectedRange()) {
        bool unused = false;
        place.begin = offsetOf(range->first, unused);
        place.end = offsetOf(range->second, unused);
        if (place.begin < place.end)
            return place;
    }
    place.begin = place.end = offsetOf(view_.caretPosition(), place.newLine);
    return place;
}

void CTextEditing::PutCaretAt(std::int64_t offset)
{
    const kl::Text& text = *doc_.textDoc.texts[static_cast<std::size_t>(view_.side())];
    int line = kl::LineOfOffset(text, offset);
    if (line >= text.count() && text.count() > 0 && offset == static_cast<std::int64_t>(text.size) &&
        kl::NewlineKind(text, text.count() - 1) == 0)
        line = text.count() - 1;
    const auto column = static_cast<std::size_t>(offset - kl::LineStart(text, line));
    const std::shared_ptr<const kl::ShownRows> shown = view_.Shown();
    view_.setCaretPosition({RowOfLine(*shown, view_.side(), line, view_.caretPosition().row), column});
}

bool CTextEditing::Replace(const Place& place, const std::string& utf8, bool typed)
{
    const int side = view_.side();
    const std::shared_ptr<const kl::Text> text = doc_.textDoc.texts[static_cast<std::size_t>(side)];
    std::string bytes = utf8;
    std::int64_t caretShift = 0;  // the caret stands this far before the end of what went in
    if (place.newLine && place.begin == place.end && !bytes.empty()) {
        // A new line of its own: a line end after it, or before it at the end of a text whose
        // last line has none.
        const std::string newline(kl::DominantNewline(*text));
        const bool atEnd = place.begin == static_cast<std::int64_t>(text->size);
        if (atEnd && text->size > 0 && kl::NewlineKind(*text, text->count() - 1) == 0) {
            bytes = newline + bytes;
        } else if (bytes.back() != '\n' && bytes.back() != '\r') {
            bytes += newline;
            caretShift = static_cast<std::int64_t>(newline.size());
        }
    }
    kl::PreparedEdit prepared = kl::TypingEdit(*text, side, place.begin, place.end, bytes);
    const std::int64_t caret = prepared.edit.begin + static_cast<std::int64_t>(prepared.edit.inserted.size()) - caretShift;
    if (prepared.edit.begin == prepared.edit.end && prepared.edit.inserted.empty())
        return false;
    view_.CancelSelection();
    if (!doc_.EditText(side, {{std::move(prepared.edit)}, {}, prepared.base ? text : nullptr},
                       typed && !place.newLine && place.begin == place.end))
        return false;
    PutCaretAt(caret);
    return true;
}

bool CTextEditing::InsertText(const QString& text, bool typed)
{
    const std::optional<Place> place = EditPlace();
    if (!place)
        return false;
    const kl::Text& current = *doc_.textDoc.texts[static_cast<std::size_t>(view_.side())];
    return Replace(*place, kl::WithNewlines(text.toStdString(), kl::DominantNewline(current)), typed);
}

bool CTextEditing::Erase(bool forward)
{
    std::optional<Place> place = EditPlace();
    if (!place)
        return false;
    const int side = view_.side();
    const kl::Text& text = *doc_.textDoc.texts[static_cast<std::size_t>(side)];
    if (place->begin == place->end) {
        if (place->newLine)
            return false;  // a filler row holds no character to take away
        const kl::TextEdit edit = forward ? kl::DeleteEdit(text, side, place->begin)
                                          : kl::BackspaceEdit(text, side, place->begin);
        place->begin = edit.begin;
        place->end = edit.end;
        place->newLine = false;
    }
    if (place->begin == place->end)
        return false;
    return Replace(*place, {}, false);
}

bool CTextEditing::HandleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return modifiers == Qt::NoModifier && InsertText(QStringLiteral("\n"));
    case Qt::Key_Tab:
        return modifiers == Qt::NoModifier && InsertText(QStringLiteral("\t"), true);
    case Qt::Key_Backspace:
        return modifiers == Qt::NoModifier && Erase(false);
    case Qt::Key_Delete:
        return modifiers == Qt::NoModifier && Erase(true);
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return InsertText(text, true);
}

void CTextEditing::Cut()
{
    if (!view_.selectedRange())
        return;
    view_.CopySelection();
    Erase(true);
}

void CTextEditing::Paste()
{
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty())
        InsertText(text);
}

void CTextEditing::InputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        InsertText(event->commitString(), true);
    preedit_ = event->preeditString();
    preeditCursor_ = static_cast<int>(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCursor_ = attribute.start;
    }
    view_.viewport()->update();
    event->accept();
}

QVariant CTextEditing::InputMethodQuery(Qt::InputMethodQuery query) const
{
    const kl::Text* text = doc_.textDoc.texts[static_cast<std::size_t>(view_.side())].get();
    switch (query) {
    case Qt::ImEnabled:
        return text != nullptr;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImFont:
        return view_.ViewFont();
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle: {
        CTextView& view = view_;
        QPoint caret = view.CaretClientPoint();
        if (!preedit_.isEmpty())
            caret.rx() += QFontMetrics(view.ViewFont()).horizontalAdvance(preedit_.left(preeditCursor_));
        return QRect(caret, QSize(1, view.lineHeight));
    }
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: {
        const std::shared_ptr<const kl::ShownRows> shown = view_.Shown();
        const TextPosition caret = view_.caretPosition();
        const int line = shown->LineAt(view_.side(), caret.row);
        if (!text || line == kl::kNoLine || shown->TextOf(view_.side()) != text)
            return query == Qt::ImSurroundingText ? QVariant(QString()) : QVariant(0);
        const std::string_view content = text->text(line).substr(0, static_cast<std::size_t>(kl::ContentLength(*text, line)));
        if (query == Qt::ImSurroundingText)
            return QString::fromStdU16String(kl::DecodeToUtf16(text->encoding, content));
        const std::size_t offset = std::min(caret.offset, content.size());
        return static_cast<int>(kl::DecodeToUtf16(text->encoding, content.substr(0, offset)).size());
    }
    case Qt::ImCurrentSelection: {
        return QString();
    }
    default:
        return {};
    }
}

void CTextEditing::PaintPreedit(QPainter& painter, QPoint caret, int lineHeight) const
{
    if (preedit_.isEmpty() || lineHeight <= 0)
        return;
    const QFontMetrics metrics(painter.font());
    const QRect area(caret, QSize(metrics.horizontalAdvance(preedit_) + 2, lineHeight));
    const QPalette palette = view_.palette();
    painter.fillRect(area, palette.color(QPalette::Base));
    painter.setPen(palette.color(QPalette::Text));
    const int baseline = caret.y() + (lineHeight + metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(QPoint(caret.x(), baseline), preedit_);
    // The composition is underlined, and its own cursor marked.
    painter.drawLine(area.left(), area.bottom() - 1, area.right(), area.bottom() - 1);
    const int cursorX = caret.x() + metrics.horizontalAdvance(preedit_.left(preeditCursor_));
    painter.fillRect(QRect(cursorX, caret.y(), 2, lineHeight), palette.color(QPalette::Text));
}
