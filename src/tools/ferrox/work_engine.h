// Moving, copying and deleting the given items: the work behind the progress window,
// free of windows. It reports each step and asks its questions through WorkProgress,
// which the progress window implements and tests script.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "jjstring.h"

enum class Operation { Move = 0, Copy = 1, Delete = 2 };

// The values of the work's result, shared by the main window, the progress window and the
// overwrite question.
namespace WorkResult {
constexpr int Normal = 7;
constexpr int CancelRequested = 1;
constexpr int Stop = 6;
constexpr int ChoiceFirst = 2;     // 2..5: the overwrite question's OK with choice 1..4
constexpr int AllChoiceFirst = 12; // 12..15: its "以降全て(&A)" with choice 1..4
} // namespace WorkResult

struct WorkOrder {
    Operation operation = Operation::Copy;
    std::wstring destination;        // the path box text (for delete only its drive matters)
    std::vector<std::wstring> items; // long forms, in command-line order
};

struct OverwriteQuestion {
    std::wstring source, destination;
    bool move = false;
    int preselected = 0; // choice index 0..3
};

struct OverwriteAnswer {
    int result = WorkResult::Normal; // Normal when cancelled, 2..5 or 12..15
    int selectedIndex = 0;           // 0..3, remembered for the next question
};

// What the engine needs from the window it runs in; every call comes on that window's thread.
class WorkProgress {
public:
    virtual ~WorkProgress() = default;
    // A new step: the window caption ("ｺﾋﾟｰしています..."), the item line and the from/to line.
    virtual void ShowStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo) = 0;
    virtual void SetProgress(int percent) = 0;
    // Handles what waits for the window now (after each step); the cancel button acts here.
    virtual void ProcessMessages() = 0;
    // Waits while the window stays usable.
    virtual void Delay(unsigned milliseconds) = 0;
    // Runs one blocking file operation while the window stays usable; its result. The
    // engine hands over transfers of files above 1 MiB; smaller ones take less time than
    // the hand-over and run directly.
    virtual bool RunBlocking(const std::function<bool()>& operation) = 0;
    // A message box owned by the window with the tool's caption; the button pressed (IDYES, ...).
    virtual int Ask(const std::wstring& text, UINT style) = 0;
    virtual OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) = 0;
    // The text input box; false when cancelled, else name holds the text.
    virtual bool AskName(const Text& caption, const std::wstring& prompt, std::wstring& name) = 0;
    // Owner of the shell's recycle-bin operation (nullptr: none).
    virtual HWND window() const = 0;
};

struct FolderEntry; // one entry of a listed folder

class WorkEngine {
public:
    WorkEngine(WorkOrder order, WorkProgress& progress);

    // Runs the whole work; the final result: Normal, or Stop when it was stopped.
    int Run();
    // The progress window's cancel button; honoured at the next cancel check.
    void RequestCancel();
    int workResult() const { return workResult_; }
    // The pause before each disk step: 500 ms on removable media, 50 for deletes, else 0.
    unsigned stepDelay() const { return stepDelay_; }

private:
    // Implementation members are the engine's own.
    bool DestinationIsUsable();
    void TransferFile(const std::wstring& source, std::wstring destination, unsigned long long size);
    void TransferFolder(const std::wstring& source, const std::wstring& destination);
    // Copies the folder a link leads to, unless that would never end (the user is told).
    void CopyThroughLink(const std::wstring& link, const std::wstring& destination);
    void MoveLinkItself(const std::wstring& link, const std::wstring& destination);
    // Lists the folder; a failure asks. False when the folder is passed over (or the work stops).
    bool ReadEntries(const std::wstring& folder, std::vector<FolderEntry>& entries);
    void DeleteItem(const std::wstring& item, bool folder, bool link);
    void RecycleFile(const std::wstring& path);
    void RecycleFolder(const std::wstring& folder);
    // Where there is no bin, after the user agreed: removed, links as themselves.
    void RemoveForGood(const std::wstring& path, bool folder, bool link);
    bool EnsureFolder(const std::wstring& folder);
    // Asks (or applies the choice for all) and settles a name conflict; false skips the file.
    bool SettleConflict(const std::wstring& source, std::wstring& destination);
    // Settles a name conflict; false skips the file. destination may change (choice 2).
    bool ApplyChoice(int choice, const std::wstring& source, std::wstring& destination);
    bool AskNewName(const std::wstring& destination, std::wstring& name);
    bool AskMissingFolder(const std::wstring& name);
    // Asks new names until one is free (or, with mayOverwrite, its overwriting confirmed) and
    // its folder is there; false when the user gave up or stopped the run.
    bool AskUsableName(const std::wstring& destination, std::wstring& name, bool mayOverwrite);
    bool RecycleWithQuestion(const std::wstring& path, bool folder);
    // The answer to a failure question: true repeats the step; Abort stops the work.
    bool RetryAfterFailure(const std::wstring& text);
    // Asks when a cancel was requested; true when the work must stop.
    bool CancelCheck();
    void Pause();

    WorkOrder order_;
    WorkProgress& progress_;
    int workResult_ = WorkResult::Normal;
    unsigned stepDelay_ = 0;
    int applyAllChoice_ = 0;           // 0: ask; 1..4: applied to every further conflict
    int lastChoiceIndex_ = 0;          // preselected in the next overwrite question
    std::vector<std::wstring> copied_; // a copy's folders (final forms) no link may lead back into
};
