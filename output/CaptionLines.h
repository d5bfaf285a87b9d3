#pragma once
// Caption lines fitted to their frame's width.
#include "document/Options.h"

#include <QStringList>

#include <functional>

// The lines of `text` (split at line breaks) made to fit `width`: a line too
// wide is ended in an ellipsis, or wrapped where a line may break (between
// words, between CJK characters; inside a word only when it is wider than the
// width on its own). With CaptionFit::Clip the lines come back as they are.
// `measure` gives a text's width in the unit of `width`.
[[nodiscard]] QStringList FitCaptionLines(const QString &text, double width, CaptionFit fit,
                                          const std::function<double(const QString &)> &measure);
