#include "step_display.h"

#include <utility>

StepDisplay::StepDisplay(Outputs outputs, std::wstring caption) : outputs_(std::move(outputs)) {
    pending_.caption = shown_.caption = std::move(caption);
}

void StepDisplay::ShowStep(std::wstring caption, std::wstring item, std::wstring fromTo) {
    pending_.caption = std::move(caption);
    pending_.item = std::move(item);
    pending_.fromTo = std::move(fromTo);
    UpdateWhenDue();
}

void StepDisplay::SetProgress(int percent) {
    pending_.percent = percent;
    UpdateWhenDue();
}

void StepDisplay::UpdateWhenDue() {
    if (GetTickCount64() - lastUpdate_ >= UpdateInterval)
        Update();
}

void StepDisplay::Update() {
    lastUpdate_ = GetTickCount64();
    auto send = [](const std::function<void(const std::wstring&)>& output, std::wstring& shown,
                   const std::wstring& text) {
        if (text == shown)
            return;
        shown = text;
        output(text);
    };
    send(outputs_.caption, shown_.caption, pending_.caption);
    send(outputs_.item, shown_.item, pending_.item);
    send(outputs_.fromTo, shown_.fromTo, pending_.fromTo);
    if (pending_.percent != shown_.percent) {
        shown_.percent = pending_.percent;
        outputs_.percent(shown_.percent);
    }
}

bool StepDisplay::PumpDue() {
    return pump_.Due();
}
