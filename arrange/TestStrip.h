#pragma once
// Test strips: one picture in a row of labelled steps of brightness or
// contrast, printed so that the step that looks best on the paper can become
// the paper preset's print adjustment.
#include "document/SheetPlan.h"

#include <QSizeF>
#include <QString>

#include <vector>

// Intent: the four rendering intents at the middle adjustment, which differ
// only where a printer profile converts the pictures.
enum class TestStripVaries { Brightness, Contrast, Intent };

struct TestStripSettings {
    int Picture = 0; // collection index
    int Steps = 5; // MinTestSteps..MaxTestSteps
    TestStripVaries Varies = TestStripVaries::Brightness;
    int StepSize = 10; // per step, 1..50
    // The middle of the row: the adjustment the paper prints with now.
    int Brightness = 0;
    int Contrast = 0;
};
inline constexpr int MinTestSteps = 3;
inline constexpr int MaxTestSteps = 9;

struct TestStripStep {
    int Brightness = 0;
    int Contrast = 0;
    int Intent = -1; // 0..3 as the profile format numbers them; -1 = the paper's
    // "Brightness +10", "Contrast 0"; an intent step "Perceptual", "Brightness +10, contrast 0".
    [[nodiscard]] QStringList label() const;
};
// The rendering intent's name as the colour settings show it.
[[nodiscard]] QString IntentName(int intent);

// The steps left to right, centred on the settings' adjustment, each held to
// -100..100 (steps that would repeat an end are left out).
[[nodiscard]] std::vector<TestStripStep> TestStripSteps(const TestStripSettings& settings);
// The row on a printable area of `printable` inches: square frames side by
// side across it with their labels below, each frame the picture's middle
// through its step's table.
[[nodiscard]] SheetPlan TestStripPlan(const TestStripSettings& settings, QSizeF printable);
