// What the splash window and the about box share: the product and version labels, and the
// copyright line in two fuchsia labels that size themselves to their text.
#pragma once

#include <functional>

#include "controls.h"
#include "label_effects.h"

class CopyrightLabel : public Label {
public:
    // Sized to its text at the given 96-DPI position.
    bool Create(Widget& parent, const Text& caption, int left, int top);
    // Width in 96-DPI pixels.
    int Width() const { return bounds().width; }
    void MoveLeft(int left);
    std::function<void()> onDblClick;

    bool OnCommand(WORD code) override;
    HBRUSH OnControlColor(HDC dc) override;
};

// The first label ends 12 pixels before rightEdge and the second takes its left edge; should
// the second be the wider, both move left so that it keeps that margin instead of running
// into what lies at rightEdge.
void AlignCopyrightLabels(CopyrightLabel& first, CopyrightLabel& second, int rightEdge);

// "Lumera Deck for Windows" in a 24-pixel font above the version, whose shadow lies one
// pixel right and down. Both keep the blinking label's default rate.
void CreateProductLabels(Widget& parent, TBlinkLabel& title, TBlinkLabel& version, int left, int top,
                         int width);
