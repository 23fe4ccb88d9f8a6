// The progress window's animation where the platform has no clip to play: a sheet of
// paper flying from one folder to another (copy, move) or into the waste bin (delete).
#pragma once

#include "timer.h"
#include "window.h"

class FileFlight : public Window {
public:
    bool Create(Widget& parent, const Bounds& bounds, bool toBin);
    void Play();
    void Stop();

    static constexpr int Frames = 16;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& area) const;

    bool toBin_ = false;
    int frame_ = 0;
    Timer timer_{80, false};
};
