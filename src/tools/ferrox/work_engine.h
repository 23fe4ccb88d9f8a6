// Moving, copying and deleting the given items: the work behind the progress window,
// free of windows. It reports each step and asks its questions through WorkProgress,
// which the progress window implements and tests script.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "jjstring.h"

enum class Operation { Move = 0, Copy = 1, Delete = 2 };

// How a work ended: to its end (items the user passed over included), or stopped.
enum class WorkResult { Normal, Stop };

// The overwrite question's ways to settle a name conflict, in the order it offers them.
enum class OverwriteChoice {
    IfNewer = 0,        // the source replaces the file when it was modified later
    NewName = 1,        // the source goes under a name the user gives
    Overwrite = 2,      // the source replaces the file
    RenameExisting = 3, // the file there takes a name the user gives, the source its place
};

struct WorkOrder {
    Operation operation = Operation::Copy;
    std::wstring destination;        // the path box text (for delete only its drive matters)
    std::vector<std::wstring> items; // long forms, in command-line order
};

struct OverwriteQuestion {
    std::wstring source, destination;
    bool move = false;
    OverwriteChoice preselected = OverwriteChoice::IfNewer;
};

struct OverwriteAnswer {
    OverwriteChoice choice = OverwriteChoice::IfNewer; // selected; remembered for the next question
    bool forAll = false;    // "以降全て(&A)": the choice settles every further conflict unasked
    bool cancelled = false; // the file stays as it is
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

    // Runs the whole work.
    WorkResult Run();
    // The progress window's cancel button; honoured at the next cancel check.
    void RequestCancel();
    WorkResult workResult() const { return stopped_ ? WorkResult::Stop : WorkResult::Normal; }
    // The pause before each disk step: 500 ms on removable media, 50 for deletes, else 0.
    unsigned stepDelay() const { return stepDelay_; }

private:
    // Implementation members are the engine's own.
    bool DestinationIsUsable();
    void TransferFile(const std::wstring& source, std::wstring destination, unsigned long long size);
    // The transfer itself, a name conflict settled with the user; false when the file stays.
    bool Transfer(const std::wstring& source, std::wstring& destination, unsigned long long size);
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
    // Settles a name conflict; false skips the file. destination may change (NewName).
    bool ApplyChoice(OverwriteChoice choice, const std::wstring& source, std::wstring& destination);
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
    // One step on the disk: shown at progress 0 after the pause, then done; at 100, with the
    // window's messages handled, unless the step gave up (false).
    bool RunStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo,
                 const std::function<bool()>& step);

    WorkOrder order_;
    WorkProgress& progress_;
    bool cancelRequested_ = false; // the cancel button, not yet asked about
    bool stopped_ = false;
    unsigned stepDelay_ = 0;
    std::optional<OverwriteChoice> choiceForAll_;           // settles every further conflict unasked
    OverwriteChoice lastChoice_ = OverwriteChoice::IfNewer; // preselected in the next question
    std::vector<std::wstring> copied_; // a copy's folders (final forms) no link may lead back into
};
