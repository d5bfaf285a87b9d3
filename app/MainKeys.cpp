// The window's keys and the hints of its commands. Every key goes through the
// key gate, so a key that an open popup, menu or dialog took runs nothing here.
#include "app/MainUnit.h"

#include "platform/ImageButton.h"
#include "platform/KeyGate.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>

namespace {
QString keyText(const QKeySequence &keys) { return keys.toString(QKeySequence::NativeText); }

// "what it does (key)"
QString withKey(const QString &hint, const QKeySequence &keys)
{
    return keys.isEmpty() ? hint : QStringLiteral("%1 (%2)").arg(hint, keyText(keys));
}

const QKeySequence SaveAsKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
const QKeySequence RedoKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
const QKeySequence RedoKeys2(Qt::CTRL | Qt::Key_Y);
const QKeySequence PrintKeys(Qt::CTRL | Qt::Key_P);
const QKeySequence ZoomInKeys(Qt::CTRL | Qt::Key_Plus);
const QKeySequence ZoomInKeys2(Qt::CTRL | Qt::Key_Equal);
const QKeySequence ZoomOutKeys(Qt::CTRL | Qt::Key_Minus);
const QKeySequence ZoomFitKeys(Qt::CTRL | Qt::Key_0);
} // namespace

void TMainForm::connectKeys()
{
    Keys->add(this, QKeySequence::New, [this] { NewBtnClick(); });
    Keys->add(this, QKeySequence::Open, [this] { OpenBtnClick(); });
    Keys->add(this, QKeySequence::Save, [this] { SaveBtnClick(); });
    Keys->add(this, SaveAsKeys, [this] { SaveAsBtnClick(); });
    Keys->add(this, QKeySequence::Undo, [this] { UndoAction->trigger(); });
    Keys->add(this, RedoKeys, [this] { RedoAction->trigger(); });
    Keys->add(this, RedoKeys2, [this] { RedoAction->trigger(); });
    // Only while their tab is shown.
    Keys->add(PrintTab, PrintKeys, [this] { GoBtn1Click(); });
    Keys->add(ArrangeTab, ZoomInKeys, [this] { ArrangeTab->ZoomIn(); });
    Keys->add(ArrangeTab, ZoomInKeys2, [this] { ArrangeTab->ZoomIn(); });
    Keys->add(ArrangeTab, ZoomOutKeys, [this] { ArrangeTab->ZoomOut(); });
    Keys->add(ArrangeTab, ZoomFitKeys, [this] { ArrangeTab->ZoomToFit(); });
    auto followUndoText = [this] {
        UndoAction->setToolTip(withKey(UndoAction->text(), QKeySequence::Undo));
        RedoAction->setToolTip(withKey(RedoAction->text(), RedoKeys) + QStringLiteral(", ") + keyText(RedoKeys2));
    };
    connect(Doc->undoStack(), &QUndoStack::undoTextChanged, this, followUndoText);
    connect(Doc->undoStack(), &QUndoStack::redoTextChanged, this, followUndoText);
    followUndoText();
}

void TMainForm::createToolTips()
{
    NewBtn->setToolTip(withKey(tr("Starts a new, empty arrangement"), QKeySequence::New));
    OpenBtn->setToolTip(withKey(tr("Opens an arrangement file"), QKeySequence::Open));
    SaveBtn->setToolTip(withKey(tr("Saves the arrangement"), QKeySequence::Save));
    SaveAsBtn->setToolTip(withKey(tr("Saves the arrangement under a new name"), SaveAsKeys));
    ueberbtn->setToolTip(tr("About"));
    EndeBtn->setToolTip(tr("Quit"));
    HomeBtn->setToolTip(tr("Opens the home page in the web browser"));
}
