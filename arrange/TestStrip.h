#pragma once
// Test strips: one picture in a row of labelled steps of brightness or
// contrast, printed so that the step that looks best on the paper can become
// the paper preset's print adjustment.
#include "document/SheetPlan.h"

#include <QSizeF>
#include <QString>

#include <vector>

enum class TestStripVaries { Brightness, Contrast };

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
    [[nodiscard]] QStringList label() const; // "Brightness +10", "Contrast 0"
};

// The steps left to right, centred on the settings' adjustment, each held to
// -100..100 (steps that would repeat an end are left out).
[[nodiscard]] std::vector<TestStripStep> TestStripSteps(const TestStripSettings& settings);
// The row on a printable area of `printable` inches: square frames side by
// side across it with their labels below, each frame the picture's middle
// through its step's table.
[[nodiscard]] SheetPlan TestStripPlan(const TestStripSettings& settings, QSizeF printable);
