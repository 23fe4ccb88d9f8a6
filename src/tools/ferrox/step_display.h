// What the progress window shows of a fast run: the latest step at the screen's pace
// rather than every step. Texts and bar go to the controls at most every UpdateInterval
// milliseconds (and at once before any wait or question), unchanged texts are not sent
// again, and pending messages are fetched at most every PumpInterval. Under Wine each
// control update and message fetch is a trip to the server, which a copy of many small
// files would otherwise pay per file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app.h"

class StepDisplay {
public:
    static constexpr ULONGLONG UpdateInterval = 20, PumpInterval = 10;

    struct Outputs {
        std::function<void(const std::wstring&)> caption, item, fromTo;
        std::function<void(int)> percent;
    };

    StepDisplay(Outputs outputs, std::wstring caption);

    void ShowStep(std::wstring caption, std::wstring item, std::wstring fromTo);
    void SetProgress(int percent);
    // Sends what changed to the controls now.
    void Update();
    // True when pending messages are due to be fetched (at most every PumpInterval).
    bool PumpDue();

private:
    struct State {
        std::wstring caption, item, fromTo;
        int percent = 0;
    };

    void UpdateWhenDue();

    Outputs outputs_;
    State pending_, shown_;
    ULONGLONG lastUpdate_ = 0;
    Application::PacedMessagePump pump_{PumpInterval};
};
