#pragma once
// The pages' whole-number fields: typed values count as they are typed.
#include <QSpinBox>

inline QSpinBox *NumberEdit(QWidget *parent, int min, int max, int step, int value)
{
    auto *e = new QSpinBox(parent);
    e->setRange(min, max);
    e->setSingleStep(step);
    e->setValue(value);
    e->setKeyboardTracking(true);
    return e;
}
