#include "arrange/CaptionEdit.h"

#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

CaptionEdit::CaptionEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        updateGeometry();
        emit textEdited(toPlainText());
    });
}

void CaptionEdit::setText(const QString &text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

int CaptionEdit::heightForLines(int lines) const
{
    const QMargins m = contentsMargins();
    return fontMetrics().lineSpacing() * lines + int(std::ceil(2 * document()->documentMargin())) + 2 * frameWidth()
        + m.top() + m.bottom() + 2;
}

QSize CaptionEdit::sizeHint() const
{
    // Up to three lines are shown at once; more scroll.
    const int lines = std::clamp(blockCount(), 1, 3);
    return QSize(QPlainTextEdit::sizeHint().width(), heightForLines(lines));
}

QSize CaptionEdit::minimumSizeHint() const { return QSize(QPlainTextEdit::minimumSizeHint().width(), heightForLines(1)); }

void CaptionEdit::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (enter) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
