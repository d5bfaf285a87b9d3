#include "arrange/TestStrip.h"

#include "picture/PrintFinish.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
struct TestStripText {
    Q_DECLARE_TR_FUNCTIONS(TestStripText)
};

QString signedValue(int v) { return v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v); }

constexpr double MarginInches = 0.2;
constexpr double GapInches = 0.12;
constexpr double LabelPoints = 8;
} // namespace

QString IntentName(int intent)
{
    switch (intent) {
    case 0:
        return TestStripText::tr("Perceptual");
    case 1:
        return TestStripText::tr("Relative colorimetric");
    case 2:
        return TestStripText::tr("Saturation");
    case 3:
        return TestStripText::tr("Absolute colorimetric");
    default:
        return {};
    }
}

QStringList TestStripStep::label() const
{
    if (Intent >= 0)
        return { IntentName(Intent),
            TestStripText::tr("Brightness %1, contrast %2").arg(signedValue(Brightness), signedValue(Contrast)) };
    return { TestStripText::tr("Brightness %1").arg(signedValue(Brightness)),
        TestStripText::tr("Contrast %1").arg(signedValue(Contrast)) };
}

std::vector<TestStripStep> TestStripSteps(const TestStripSettings& s)
{
    const int count = std::clamp(s.Steps, MinTestSteps, MaxTestSteps);
    const int size = std::clamp(s.StepSize, 1, 50);
    std::vector<TestStripStep> steps;
    if (s.Varies == TestStripVaries::Intent) {
        for (int intent = 0; intent < 4; ++intent)
            steps.push_back({ std::clamp(s.Brightness, -100, 100), std::clamp(s.Contrast, -100, 100), intent });
        return steps;
    }
    for (int i = 0; i < count; ++i) {
        const int offset = (i - (count - 1) / 2) * size;
        TestStripStep step { std::clamp(s.Brightness, -100, 100), std::clamp(s.Contrast, -100, 100) };
        int& varied = s.Varies == TestStripVaries::Brightness ? step.Brightness : step.Contrast;
        varied = std::clamp(varied + offset, -100, 100);
        if (steps.empty() || steps.back().Brightness != step.Brightness || steps.back().Contrast != step.Contrast)
            steps.push_back(step);
    }
    return steps;
}

SheetPlan TestStripPlan(const TestStripSettings& settings, QSizeF printable)
{
    SheetPlan plan;
    plan.FreshPage = true;
    plan.ShowFirstPage = true;
    const std::vector<TestStripStep> steps = TestStripSteps(settings);
    const int n = int(steps.size());
    SheetText caption;
    caption.Points = LabelPoints;
    caption.Lines = steps.front().label();
    const double label = SheetTextInches(caption) + 0.05;
    const double across = (printable.width() - 2 * MarginInches - (n - 1) * GapInches) / n;
    const double side = std::min(across, printable.height() - 2 * MarginInches - label);
    if (side <= 0)
        return plan;
    for (int i = 0; i < n; ++i) {
        SheetPlanFrame f;
        f.Picture = settings.Picture;
        f.Left = MarginInches + i * (across + GapInches) + (across - side) / 2;
        f.Top = MarginInches;
        f.Width = f.Height = side;
        f.Cut = true; // the picture's middle fills every frame alike
        // A label below the frame, as wide as it. Not a contact sheet cell's
        // caption: the steps print at the device's full resolution.
        SheetText stepLabel = caption;
        stepLabel.Lines = steps[std::size_t(i)].label();
        stepLabel.Left = f.Left;
        stepLabel.Top = f.Top + side + 0.03;
        stepLabel.Width = side;
        plan.Labels.emplace(0, stepLabel);
        f.Tone = PrintToneTable(steps[std::size_t(i)].Brightness, steps[std::size_t(i)].Contrast);
        f.Intent = steps[std::size_t(i)].Intent;
        plan.Frames.push_back(f);
    }
    return plan;
}
