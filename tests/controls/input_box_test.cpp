// The text input box and radio groups in columns, under real windows.
#include <gtest/gtest.h>

#include <functional>

#include "app.h"
#include "controls.h"
#include "form.h"
#include "input_box.h"
#include "timer.h"
#include "win/encoding.h"

namespace {

HWND ChildNamed(HWND parent, const Text& name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (Widget::NameOf(child) == name)
            return child;
    }
    return nullptr;
}

class OwnerForm : public Form {
public:
    OwnerForm() {
        CreateForm({"TInputOwnerForm", "owner", WS_OVERLAPPEDWINDOW, 300, 200});
        Application::SetMainWindow(handle());
        Show();
    }
    ~OwnerForm() override { Application::SetMainWindow(nullptr); }
};

// Runs the box with a value and lets the action answer it once it is up; what came back.
struct Outcome {
    bool confirmed;
    std::wstring value;
    bool ownerDisabled;
    std::wstring shownPrompt, shownValue, shownCaption;
};

Outcome RunBox(const std::function<void(HWND box)>& answer) {
    OwnerForm owner;
    Outcome outcome = {};
    outcome.value = L"C:\\before\\caf\u00e9.txt";
    Timer timer(20);
    timer.SetHandler([&] {
        HWND box = FindWindowW(L"TInputBox", nullptr);
        if (!box || !IsWindowVisible(box))
            return;
        timer.SetEnabled(false);
        outcome.ownerDisabled = !IsWindowEnabled(owner.handle());
        outcome.shownCaption = Widget::FromHandle(box)->wideText();
        outcome.shownPrompt = Widget::FromHandle(ChildNamed(box, "Label1"))->wideText();
        outcome.shownValue = Widget::FromHandle(ChildNamed(box, "Edit1"))->wideText();
        answer(box);
    });
    outcome.confirmed =
        InputQuery(owner.handle(), "名前を変更して複写", L"caf\u00e9.txt の新しい名前は？", outcome.value);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_EQ(FindWindowW(L"TInputBox", nullptr), nullptr);
    return outcome;
}

TEST(InputBox, ShowsPromptAndValueAndReturnsTheTypedTextOnlyOnOk) {
    const std::wstring typed = L"C:\\after\\\ud55c\uae00 \U0001F600.txt";
    Outcome ok = RunBox([&](HWND box) {
        SetWindowTextW(ChildNamed(box, "Edit1"), typed.c_str());
        SendMessageW(ChildNamed(box, "Button1"), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(ok.confirmed);
    EXPECT_EQ(ok.value, typed);
    EXPECT_TRUE(ok.ownerDisabled);
    EXPECT_EQ(ok.shownCaption, Widen("名前を変更して複写"));
    EXPECT_EQ(ok.shownPrompt, L"caf\u00e9.txt の新しい名前は？");
    EXPECT_EQ(ok.shownValue, L"C:\\before\\caf\u00e9.txt");

    // Every other way out leaves the value as it was, whatever was typed.
    const std::function<void(HWND)> cancels[] = {
        [](HWND box) { SendMessageW(ChildNamed(box, "Button2"), BM_CLICK, 0, 0); },
        [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); },
        [](HWND box) {
            HWND edit = ChildNamed(box, "Edit1");
            SetFocus(edit);
            PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        },
    };
    for (const auto& cancel : cancels) {
        Outcome cancelled = RunBox([&](HWND box) {
            SetWindowTextW(ChildNamed(box, "Edit1"), L"changed");
            cancel(box);
        });
        EXPECT_FALSE(cancelled.confirmed);
        EXPECT_EQ(cancelled.value, L"C:\\before\\caf\u00e9.txt");
    }
}

TEST(InputBox, EnterConfirms) {
    Outcome entered = RunBox([](HWND box) {
        HWND edit = ChildNamed(box, "Edit1");
        SetFocus(edit);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(entered.confirmed);
    EXPECT_EQ(entered.value, L"C:\\before\\caf\u00e9.txt");
}

class GroupForm : public Form {
public:
    GroupForm() { CreateForm({"TGroupTestForm", "groups", WS_OVERLAPPEDWINDOW, 400, 300}); }
};

RECT RectIn(HWND parent, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(RadioGroup, ColumnsAreFilledOneAfterTheOther) {
    struct Case {
        int items, columns;
        // expected column and row of each item
        std::vector<std::pair<int, int>> places;
    } cases[] = {
        {4, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
        {3, 3, {{0, 0}, {1, 0}, {2, 0}}},
        {3, 1, {{0, 0}, {0, 1}, {0, 2}}},
        {5, 2, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}}},
        {2, 4, {{0, 0}, {1, 0}}}, // more columns than items: one column per item
        {2, 0, {{0, 0}, {0, 1}}}, // no columns asked: one
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.items) + " items in " + std::to_string(test.columns) + " columns");
        GroupForm form;
        std::vector<Text> captions;
        for (int i = 0; i < test.items; ++i)
            captions.push_back("item" + std::to_string(i));
        RadioGroup group;
        ASSERT_TRUE(group.Create(form, "group", {8, 8, 361, 80}, captions, test.columns));
        ASSERT_EQ(group.itemCount(), static_cast<size_t>(test.items));
        std::vector<RECT> rects;
        for (const Text& caption : captions)
            rects.push_back(RectIn(form.handle(),
                                   FindWindowExW(form.handle(), nullptr, L"Button", Widen(caption).c_str())));
        RECT groupRect = RectIn(form.handle(), group.handle());
        for (int i = 0; i < test.items; ++i) {
            for (int j = 0; j < test.items; ++j) {
                auto [column, row] = test.places[static_cast<size_t>(i)];
                auto [otherColumn, otherRow] = test.places[static_cast<size_t>(j)];
                EXPECT_EQ(column == otherColumn, rects[i].left == rects[j].left) << i << "," << j;
                EXPECT_EQ(column < otherColumn, rects[i].left < rects[j].left) << i << "," << j;
                EXPECT_EQ(row == otherRow, rects[i].top == rects[j].top) << i << "," << j;
                EXPECT_EQ(row < otherRow, rects[i].top < rects[j].top) << i << "," << j;
                // Neighbours never overlap, and every button stays inside the group.
                if (i != j) {
                    RECT overlap;
                    EXPECT_FALSE(IntersectRect(&overlap, &rects[i], &rects[j])) << i << "," << j;
                }
            }
            EXPECT_GE(rects[i].left, groupRect.left);
            EXPECT_LE(rects[i].right, groupRect.right);
            EXPECT_LE(rects[i].bottom, groupRect.bottom);
        }
        group.SetItemIndex(test.items - 1);
        EXPECT_EQ(group.itemIndex(), test.items - 1);
    }
}

} // namespace
