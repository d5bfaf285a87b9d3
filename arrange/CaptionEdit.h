#pragma once
// The caption field: one line as it looks most of the time, more when the
// caption has them. Ctrl+Enter starts a new line; Enter alone and Tab leave
// the text as it is, as in a one-line field.
#include <QPlainTextEdit>

class CaptionEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CaptionEdit(QWidget *parent = nullptr);
    [[nodiscard]] QString text() const { return toPlainText(); }
    // Replaces the text, the cursor at its end.
    void setText(const QString &text);
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void textEdited(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    [[nodiscard]] int heightForLines(int lines) const;
};
