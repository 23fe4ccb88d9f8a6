// The move/copy/delete engine with real files under Wine, driven by a scripted progress
// window that records each step and answers the questions from queues.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <deque>
#include <optional>

#include "file_transfer.h"
#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "work_engine.h"

namespace {

class ScriptedProgress : public WorkProgress {
public:
    struct Step {
        Text caption;
        std::wstring item, fromTo;
    };
    struct Question {
        std::wstring text;
        UINT style;
    };

    void ShowStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo) override {
        steps.push_back({caption, item, fromTo});
        if (onStep)
            onStep(steps.back());
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ProcessMessages() override {
        if (onProcessMessages)
            onProcessMessages();
    }
    void Delay(unsigned milliseconds) override {
        delays.push_back(milliseconds);
        if (onDelay)
            onDelay();
    }
    bool RunBlocking(const std::function<bool()>& operation) override {
        ++blockingRuns;
        if (beforeBlocking)
            beforeBlocking(blockingRuns);
        return operation();
    }
    int Ask(const std::wstring& text, UINT style) override {
        questions.push_back({text, style});
        if (onAsk)
            onAsk(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << Narrow(text);
            return IDABORT;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override {
        overwrites.push_back(question);
        if (overwriteAnswers.empty()) {
            ADD_FAILURE() << "unexpected overwrite question for " << Narrow(question.destination);
            return {OverwriteChoice::IfNewer, false, true};
        }
        OverwriteAnswer answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    bool AskName(const Text& caption, const std::wstring& prompt, std::wstring& name) override {
        nameCaptions.push_back(caption);
        prompts.push_back(prompt);
        initialNames.push_back(name);
        if (names.empty() || !names.front()) {
            if (!names.empty())
                names.pop_front();
            return false;
        }
        name = *names.front();
        names.pop_front();
        return true;
    }
    HWND window() const override { return nullptr; }

    // The questions whose text holds the fragment.
    size_t Asked(const std::wstring& fragment) const {
        size_t count = 0;
        for (const Question& question : questions)
            count += question.text.find(fragment) != std::wstring::npos;
        return count;
    }
    size_t StepsCaptioned(const Text& caption) const {
        size_t count = 0;
        for (const Step& step : steps)
            count += step.caption == caption;
        return count;
    }
    bool ShowedCaption(const Text& caption) const { return StepsCaptioned(caption) > 0; }

    std::vector<Step> steps;
    std::vector<int> progress;
    std::vector<unsigned> delays;
    std::vector<Question> questions;
    std::vector<OverwriteQuestion> overwrites;
    std::vector<Text> nameCaptions;
    std::vector<std::wstring> prompts, initialNames;
    std::deque<int> answers;
    std::deque<OverwriteAnswer> overwriteAnswers;
    std::deque<std::optional<std::wstring>> names; // nullopt: the input box is cancelled
    std::function<void(int)> beforeBlocking;       // with the number of the blocking run
    std::function<void()> onDelay;
    std::function<void(const Step&)> onStep;
    std::function<void()> onProcessMessages; // after each finished step
    std::function<void(const std::wstring&)> onAsk;
    int blockingRuns = 0;
};

const std::wstring Cafe = L"caf\u00e9.txt";
const std::wstring Memo = L"\ud55c\uae00 \uba54\ubaa8.txt";
const std::wstring Zhang = L"\u5f20\u4f1f.doc";
const std::wstring Smile = L"\U0001F600.png";

void Put(const std::wstring& path, const Text& content, int ageSeconds = 0) {
    ForceDirectories(ExtractFileDir(path));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(path);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(ageSeconds) * 10000000ULL;
    FILETIME stamp{time.LowPart, time.HighPart};
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

// The file's content, or "-" when there is no such file.
Text Content(const std::wstring& path) {
    auto bytes = ReadFileBytes(path);
    return bytes ? *bytes : "-";
}

WorkResult RunWork(Operation operation, const std::wstring& destination, std::vector<std::wstring> items,
                   ScriptedProgress& progress) {
    WorkEngine engine({operation, destination, std::move(items)}, progress);
    return engine.Run();
}

class WorkEngineTest : public ::testing::Test {
protected:
    WorkEngineTest() : scratch_("ferrox"), root_(Widen(scratch_.path())) {}
    std::wstring At(const std::wstring& relative) const { return JoinPath(root_, relative); }

    ScratchFolder scratch_;
    std::wstring root_;
};

TEST_F(WorkEngineTest, CopyingAFolderTakesEveryEntryAndLandsUnderItsOwnName) {
    std::wstring source = At(L"\u5f20\u4f1f \u8cc7\u6599");
    Put(JoinPath(source, Cafe), "1");
    Put(JoinPath(source, L"\u5b50\\" + Memo), "2");
    Text big(2 << 20, 'b');
    Put(JoinPath(source, Smile), big);
    Put(JoinPath(source, L".hidden"), "4");
    Put(JoinPath(source, L".cache\\x.txt"), "5");
    std::wstring target = At(L"\u00e9t\u00e9\\new");

    ScriptedProgress progress;
    EXPECT_EQ(RunWork(Operation::Copy, target, {source}, progress), WorkResult::Normal);
    std::wstring landed = JoinPath(target, L"\u5f20\u4f1f \u8cc7\u6599");
    EXPECT_EQ(Content(JoinPath(landed, Cafe)), "1");
    EXPECT_EQ(Content(JoinPath(landed, L"\u5b50\\" + Memo)), "2");
    EXPECT_EQ(Content(JoinPath(landed, Smile)), big);
    EXPECT_EQ(Content(JoinPath(landed, L".hidden")), "4"); // dot-names are entries like any other
    EXPECT_EQ(Content(JoinPath(landed, L".cache\\x.txt")), "5");
    EXPECT_EQ(Content(JoinPath(source, Cafe)), "1"); // a copy leaves the source
    EXPECT_TRUE(progress.questions.empty());

    // The destination's missing parents are created as one step; each file shows its
    // name and the quoted folder names it goes between.
    ASSERT_FALSE(progress.steps.empty());
    EXPECT_EQ(progress.steps.front().caption, "ﾌｫﾙﾀﾞを作成しています...");
    EXPECT_EQ(progress.steps.front().item, landed);
    bool sawSubfolderFile = false;
    for (const auto& step : progress.steps) {
        if (step.item != Memo)
            continue;
        sawSubfolderFile = true;
        EXPECT_EQ(step.caption, "ｺﾋﾟｰしています...");
        EXPECT_EQ(step.fromTo, L"\"\u5b50\"から\"\u5b50\"へ");
    }
    EXPECT_TRUE(sawSubfolderFile);
    EXPECT_EQ(progress.blockingRuns, 1);  // only a long copy is handed off the window's thread
    EXPECT_TRUE(progress.delays.empty()); // no pause on a fixed drive
}

TEST_F(WorkEngineTest, MovingFilesAndFoldersLeavesNothingBehind) {
    std::wstring file = At(L"in\\" + Zhang);
    std::wstring folder = At(L"in\\\u00e9t\u00e9");
    Put(file, "z");
    Put(JoinPath(folder, Cafe), "c");
    Put(JoinPath(folder, L"deep\\" + Smile), "s");
    std::wstring target = At(L"out");

    ScriptedProgress progress;
    EXPECT_EQ(RunWork(Operation::Move, target, {file, folder}, progress), WorkResult::Normal);
    EXPECT_EQ(Content(JoinPath(target, Zhang)), "z");
    EXPECT_EQ(Content(JoinPath(target, L"\u00e9t\u00e9\\" + Cafe)), "c");
    EXPECT_EQ(Content(JoinPath(target, L"\u00e9t\u00e9\\deep\\" + Smile)), "s");
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_TRUE(progress.ShowedCaption("移動しています..."));
    EXPECT_TRUE(progress.ShowedCaption("ﾌｫﾙﾀﾞを削除しています..."));
    EXPECT_TRUE(progress.questions.empty());
}

TEST_F(WorkEngineTest, EveryConflictChoiceOnCopyAndMove) {
    struct Case {
        const char* what;
        OverwriteAnswer answer;
        int sourceAge, destAge; // seconds
        bool readOnlyDestination;
        Text destination; // afterwards
        Text renamed;     // the file under the name typed in the input box
        bool sourceStaysOnMove;
    } cases[] = {
        {"newer source, choice 1", {OverwriteChoice::IfNewer}, 0, 100, false, "new", "-", false},
        {"older source, choice 1", {OverwriteChoice::IfNewer}, 100, 0, false, "old", "-", true},
        {"equal times, choice 1", {OverwriteChoice::IfNewer}, 50, 50, false, "old", "-", true},
        {"choice 2", {OverwriteChoice::NewName}, 0, 100, false, "old", "new", false},
        {"choice 3 over read-only", {OverwriteChoice::Overwrite}, 100, 0, true, "new", "-", false},
        {"choice 4", {OverwriteChoice::RenameExisting}, 0, 100, false, "new", "old", false},
        {"cancelled", {OverwriteChoice::IfNewer, false, true}, 0, 100, false, "old", "-", true},
    };
    for (Operation operation : {Operation::Copy, Operation::Move}) {
        for (const Case& c : cases) {
            bool move = operation == Operation::Move;
            SCOPED_TRACE(std::string(c.what) + (move ? " (move)" : " (copy)"));
            std::wstring run = At(std::to_wstring(&c - cases) + (move ? L"m" : L"c"));
            std::wstring source = JoinPath(run, L"src\\" + Cafe);
            std::wstring destination = JoinPath(run, L"dst\\" + Cafe);
            std::wstring renamed = JoinPath(run, L"dst\\" + Zhang);
            Put(source, "new", c.sourceAge);
            Put(destination, "old", c.destAge);
            if (c.readOnlyDestination)
                SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

            ScriptedProgress progress;
            progress.overwriteAnswers.push_back(c.answer);
            progress.names.push_back(renamed);
            EXPECT_EQ(RunWork(operation, JoinPath(run, L"dst"), {source}, progress), WorkResult::Normal);
            EXPECT_EQ(Content(destination), c.destination);
            EXPECT_EQ(Content(renamed), c.renamed);
            EXPECT_EQ(FileExists(source), !move || c.sourceStaysOnMove);
            EXPECT_TRUE(progress.questions.empty()) << Narrow(progress.questions.front().text);
            ASSERT_EQ(progress.overwrites.size(), 1u);
            EXPECT_EQ(progress.overwrites[0].source, source);
            EXPECT_EQ(progress.overwrites[0].destination, destination);
            EXPECT_EQ(progress.overwrites[0].move, move);
            EXPECT_EQ(progress.overwrites[0].preselected, OverwriteChoice::IfNewer);
            if (c.answer.choice == OverwriteChoice::Overwrite) { // the reset attributes stay reset
                EXPECT_EQ(GetFileAttributesW(destination.c_str()) &
                              (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                          0u);
            }
            if (c.renamed != "-") {
                EXPECT_EQ(progress.nameCaptions, std::vector<Text>{"名前を変更して複写"});
                EXPECT_EQ(progress.prompts, std::vector<std::wstring>{Cafe + L" の新しい名前は？"});
                EXPECT_EQ(progress.initialNames, std::vector<std::wstring>{destination});
            }
        }
    }
}

TEST_F(WorkEngineTest, RememberedChoiceAndAllFollowingHoldForOneRunOnly) {
    std::vector<std::wstring> items;
    for (const std::wstring& name : {Cafe, Memo, Zhang, Smile}) {
        items.push_back(At(L"src\\" + name));
        Put(items.back(), "new");
        Put(At(L"dst\\" + name), "old");
    }
    ScriptedProgress progress;
    // Choice 2 with the input box cancelled skips the first file; its index is offered next.
    progress.overwriteAnswers.push_back({OverwriteChoice::NewName});
    progress.names.push_back(std::nullopt);
    progress.overwriteAnswers.push_back({OverwriteChoice::Overwrite, true});
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst"), items, progress), WorkResult::Normal);
    ASSERT_EQ(progress.overwrites.size(), 2u);
    EXPECT_EQ(progress.overwrites[0].preselected, OverwriteChoice::IfNewer);
    EXPECT_EQ(progress.overwrites[1].preselected, OverwriteChoice::NewName);
    EXPECT_EQ(Content(At(L"dst\\" + Cafe)), "old");
    for (const std::wstring& name : {Memo, Zhang, Smile})
        EXPECT_EQ(Content(At(L"dst\\" + name)), "new");

    // A new run asks again, starting from the first choice.
    ScriptedProgress again;
    again.overwriteAnswers.push_back({OverwriteChoice::RenameExisting, false, true});
    again.overwriteAnswers.push_back({OverwriteChoice::IfNewer, false, true});
    again.overwriteAnswers.push_back({OverwriteChoice::IfNewer, false, true});
    again.overwriteAnswers.push_back({OverwriteChoice::IfNewer, false, true});
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst"), items, again), WorkResult::Normal);
    ASSERT_EQ(again.overwrites.size(), 4u);
    EXPECT_EQ(again.overwrites[0].preselected, OverwriteChoice::IfNewer);
    EXPECT_EQ(again.overwrites[1].preselected, OverwriteChoice::RenameExisting);
}

TEST_F(WorkEngineTest, NewNameQuestionsConfirmOverwritingAndCreateMissingFolders) {
    std::wstring source = At(L"src\\" + Cafe);
    Put(source, "new");
    Put(At(L"dst\\" + Cafe), "old");
    Put(At(L"dst\\taken.txt"), "taken");
    std::wstring inMissing = At(L"dst\\\u65b0\\" + Zhang);

    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::NewName});
    // A bare name stays beside the destination: No to overwriting it asks again; No to
    // creating the folder asks again; Yes creates it.
    progress.names = {L"taken.txt", L"\u65b0\\" + Zhang, inMissing};
    progress.answers = {IDNO, IDNO, IDYES};
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst"), {source}, progress), WorkResult::Normal);
    ASSERT_EQ(progress.questions.size(), 3u);
    EXPECT_EQ(progress.questions[0].text,
              At(L"dst\\taken.txt") + L"\nﾌｧｲﾙは既に存在します。上書きしますか？");
    EXPECT_EQ(progress.questions[0].style, UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(progress.questions[1].text, At(L"dst\\\u65b0") + L"\nﾌｫﾙﾀﾞは存在しません。作成しますか？");
    EXPECT_EQ(progress.questions[1].style, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Content(inMissing), "new");
    EXPECT_EQ(Content(At(L"dst\\taken.txt")), "taken");
    EXPECT_EQ(Content(At(L"dst\\" + Cafe)), "old");

    // Yes overwrites the named file, read-only or not.
    SetFileAttributesW(At(L"dst\\taken.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ScriptedProgress yes;
    yes.overwriteAnswers.push_back({OverwriteChoice::NewName});
    yes.names = {L"taken.txt"};
    yes.answers = {IDYES};
    EXPECT_EQ(RunWork(Operation::Move, At(L"dst"), {source}, yes), WorkResult::Normal);
    EXPECT_EQ(Content(At(L"dst\\taken.txt")), "new");
    EXPECT_FALSE(FileExists(source));
}

TEST_F(WorkEngineTest, RenamingTheDestinationRefusesTakenNamesWithANotice) {
    std::wstring source = At(L"src\\" + Cafe);
    Put(source, "new");
    Put(At(L"dst\\" + Cafe), "old");
    Put(At(L"dst\\" + Smile), "taken");

    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::RenameExisting});
    progress.names = {At(L"dst\\" + Smile), At(L"dst\\" + Zhang)};
    progress.answers = {IDOK};
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst"), {source}, progress), WorkResult::Normal);
    ASSERT_EQ(progress.questions.size(), 1u);
    EXPECT_EQ(progress.questions[0].text, At(L"dst\\" + Smile) + L"\nﾌｧｲﾙは既に存在します。");
    EXPECT_EQ(progress.questions[0].style, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Content(At(L"dst\\" + Smile)), "taken");
    EXPECT_EQ(Content(At(L"dst\\" + Zhang)), "old");
    EXPECT_EQ(Content(At(L"dst\\" + Cafe)), "new");
}

TEST_F(WorkEngineTest, FailedCopiesAskToRetryIgnoreOrAbort) {
    struct Case {
        const char* what;
        std::vector<int> answers;
        bool clearTheWay; // the blocking folder is removed when the question shows
        Text first, second;
        WorkResult result;
    } cases[] = {
        {"retry after the cause is gone", {IDRETRY}, true, "1", "2", WorkResult::Normal},
        {"retry in vain, then ignore", {IDRETRY, IDIGNORE}, false, "-", "2", WorkResult::Normal},
        {"ignore", {IDIGNORE}, false, "-", "2", WorkResult::Normal},
        {"abort", {IDABORT}, false, "-", "-", WorkResult::Stop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring run = At(std::to_wstring(&c - cases));
        std::wstring first = JoinPath(run, L"src\\" + Memo), second = JoinPath(run, L"src\\" + Zhang);
        Put(first, "1");
        Put(second, "2");
        // A folder in the file's place: no conflict, but the copy cannot land.
        std::wstring blocker = JoinPath(run, L"dst\\" + Memo);
        ForceDirectories(blocker);

        ScriptedProgress progress;
        progress.answers.assign(c.answers.begin(), c.answers.end());
        if (c.clearTheWay)
            progress.onAsk = [&](const std::wstring&) { RemoveDirectoryW(blocker.c_str()); };
        EXPECT_EQ(RunWork(Operation::Copy, JoinPath(run, L"dst"), {first, second}, progress), c.result);
        ASSERT_EQ(progress.questions.size(), c.answers.size());
        EXPECT_EQ(progress.questions[0].text,
                  first + L" → " + blocker + L"\nﾌｧｲﾙｺﾋﾟｰに失敗しました。処理を続行しますか？");
        EXPECT_EQ(progress.questions[0].style, UINT(MB_ABORTRETRYIGNORE | MB_ICONSTOP));
        EXPECT_EQ(Content(blocker), c.first);
        EXPECT_EQ(Content(JoinPath(run, L"dst\\" + Zhang)), c.second);
    }
}

TEST_F(WorkEngineTest, ALockedSourceIsNeitherCopiedNorMovedAndStaysWhole) {
    for (Operation operation : {Operation::Copy, Operation::Move}) {
        bool move = operation == Operation::Move;
        std::wstring run = At(move ? L"m" : L"c");
        std::wstring source = JoinPath(run, Cafe);
        Put(source, "locked");
        HANDLE lock = CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        ScriptedProgress progress;
        progress.answers = {IDIGNORE};
        EXPECT_EQ(RunWork(operation, JoinPath(run, L"dst"), {source}, progress), WorkResult::Normal);
        CloseHandle(lock);
        EXPECT_EQ(progress.Asked(move ? L"ﾌｧｲﾙ移動に失敗しました。" : L"ﾌｧｲﾙｺﾋﾟｰに失敗しました。"), 1u);
        EXPECT_EQ(Content(source), "locked");
        EXPECT_EQ(Content(JoinPath(run, L"dst\\" + Cafe)), "-");
    }
}

TEST_F(WorkEngineTest, CancelIsHonouredAfterTheFileInProgress) {
    struct Case {
        int answer;
        size_t copied;
        WorkResult result;
    } cases[] = {{IDYES, 2, WorkResult::Stop}, {IDNO, 5, WorkResult::Normal}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer == IDYES ? "yes" : "no");
        std::wstring run = At(std::to_wstring(c.answer));
        std::wstring source = JoinPath(run, L"src\\\u5f20\u4f1f");
        for (int i = 0; i < 5; ++i)
            Put(JoinPath(source, std::to_wstring(i) + Cafe), "x");
        ScriptedProgress progress;
        WorkEngine engine({Operation::Copy, JoinPath(run, L"dst"), {source}}, progress);
        // Pressed while the second file is copied: it is honoured once that file is done.
        progress.onProcessMessages = [&] {
            if (progress.StepsCaptioned("ｺﾋﾟｰしています...") == 2)
                engine.RequestCancel();
        };
        progress.answers = {c.answer};
        EXPECT_EQ(engine.Run(), c.result);
        EXPECT_EQ(engine.workResult(), c.result);
        ASSERT_EQ(progress.questions.size(), 1u);
        EXPECT_EQ(progress.questions[0].text, L"作業を中止しますか？");
        EXPECT_EQ(progress.questions[0].style, UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
        size_t copied = 0;
        for (int i = 0; i < 5; ++i)
            copied += FileExists(JoinPath(run, L"dst\\\u5f20\u4f1f\\" + std::to_wstring(i) + Cafe));
        EXPECT_EQ(copied, c.copied);
    }
}

TEST_F(WorkEngineTest, YesToTheAbortQuestionStopsBeforeTheNextItem) {
    std::vector<std::wstring> items;
    Text big(2 << 20, 'x');
    for (const std::wstring& name : {Cafe, Memo, Zhang}) {
        items.push_back(At(L"src\\" + name));
        Put(items.back(), name == Cafe ? big : "x");
    }
    Put(At(L"src\\folder\\" + Smile), "x");
    items.push_back(At(L"src\\folder"));
    for (Operation operation : {Operation::Copy, Operation::Delete}) {
        ScriptedProgress progress;
        WorkEngine engine({operation, At(L"dst"), items}, progress);
        progress.beforeBlocking = [&](int) { engine.RequestCancel(); };
        progress.onDelay = [&] { engine.RequestCancel(); }; // deletions pause before each step
        progress.answers = {IDYES};
        EXPECT_EQ(engine.Run(), WorkResult::Stop);
        EXPECT_EQ(progress.questions.size(), 1u);
    }
    // The copy took the first file only; the deletion removed it and nothing else.
    EXPECT_EQ(Content(At(L"dst\\" + Cafe)), big);
    EXPECT_FALSE(FileExists(At(L"dst\\" + Memo)));
    EXPECT_FALSE(DirectoryExists(At(L"dst\\folder")));
    EXPECT_FALSE(FileExists(items[0]));
    EXPECT_TRUE(FileExists(items[1]));
    EXPECT_TRUE(FileExists(At(L"src\\folder\\" + Smile)));
}

TEST_F(WorkEngineTest, ADestinationInsideTheFolderItselfIsRefusedBeforeAnyStep) {
    std::wstring folder = At(L"\u00e9t\u00e9");
    Put(JoinPath(folder, Cafe), "x");
    Put(At(L"other.txt"), "o");
    struct Case {
        Operation operation;
        std::wstring destination;
    } cases[] = {
        {Operation::Copy, JoinPath(folder, L"sub\\deeper")},
        {Operation::Move, folder},
        {Operation::Copy, JoinPath(folder, L"")},                // with a trailing separator
        {Operation::Move, JoinPath(At(L"\u00c9T\u00c9"), L"x")}, // in other letter case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.destination));
        ScriptedProgress progress;
        progress.answers = {IDOK};
        EXPECT_EQ(RunWork(c.operation, c.destination, {At(L"other.txt"), folder}, progress),
                  WorkResult::Stop);
        ASSERT_EQ(progress.questions.size(), 1u);
        EXPECT_NE(progress.questions[0].text.find(L"\"" + c.destination + L"\""), std::wstring::npos);
        EXPECT_NE(progress.questions[0].text.find(L"\"" + folder + L"\""), std::wstring::npos);
        EXPECT_EQ(progress.questions[0].style, UINT(MB_OK | MB_ICONSTOP));
        EXPECT_TRUE(progress.steps.empty());
    }
    EXPECT_FALSE(DirectoryExists(JoinPath(folder, L"sub")));
    EXPECT_FALSE(FileExists(JoinPath(folder, L"other.txt")));
    EXPECT_EQ(Content(JoinPath(folder, Cafe)), "x");

    // A sibling whose name merely begins with the folder's name is a fine destination.
    ScriptedProgress progress;
    EXPECT_EQ(RunWork(Operation::Copy, folder + L"2", {folder}, progress), WorkResult::Normal);
    EXPECT_EQ(Content(JoinPath(folder + L"2", L"\u00e9t\u00e9\\" + Cafe)), "x");
}

TEST_F(WorkEngineTest, MovingAFolderWithASkippedFileKeepsTheFolderAndAsks) {
    std::wstring folder = At(L"src\\\u5f20\u4f1f");
    Put(JoinPath(folder, Cafe), "new");
    Put(JoinPath(folder, Smile), "moved");
    Put(At(L"dst\\\u5f20\u4f1f\\" + Cafe), "old");
    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::IfNewer, false, true});
    progress.answers = {IDIGNORE};
    EXPECT_EQ(RunWork(Operation::Move, At(L"dst"), {folder}, progress), WorkResult::Normal);
    ASSERT_EQ(progress.questions.size(), 1u);
    EXPECT_EQ(progress.questions[0].text, folder + L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？");
    EXPECT_EQ(Content(JoinPath(folder, Cafe)), "new");
    EXPECT_EQ(Content(At(L"dst\\\u5f20\u4f1f\\" + Cafe)), "old");
    EXPECT_EQ(Content(At(L"dst\\\u5f20\u4f1f\\" + Smile)), "moved");
}

TEST_F(WorkEngineTest, CopyingAFileOntoItselfTransfersNothing) {
    std::wstring file = At(L"Same\\" + Cafe);
    Put(file, "mine");
    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    EXPECT_EQ(RunWork(Operation::Copy, At(L"SAME"), {file}, progress), WorkResult::Normal);
    EXPECT_EQ(progress.overwrites.size(), 1u);
    EXPECT_TRUE(progress.questions.empty());
    EXPECT_EQ(Content(file), "mine");
    EXPECT_EQ(progress.blockingRuns, 0);
}

TEST_F(WorkEngineTest, AFolderThatCannotBeCreatedAsksAndAbortStops) {
    Put(At(L"plain.txt"), "p");
    std::wstring first = At(L"src\\" + Cafe), second = At(L"src\\" + Zhang);
    Put(first, "1");
    Put(second, "2");
    for (int answer : {IDIGNORE, IDABORT}) {
        ScriptedProgress progress;
        progress.answers = {answer};
        if (answer == IDIGNORE)
            progress.answers.push_back(IDIGNORE);
        std::wstring under = At(L"plain.txt\\sub");
        WorkResult result = RunWork(Operation::Copy, under, {first, second}, progress);
        EXPECT_EQ(result, answer == IDABORT ? WorkResult::Stop : WorkResult::Normal);
        EXPECT_EQ(progress.Asked(under + L"\nﾌｫﾙﾀﾞの作成に失敗しました。処理を続行しますか？"),
                  answer == IDABORT ? 1u : 2u);
        EXPECT_EQ(progress.blockingRuns, 0); // nothing was tried where there is no folder
    }
}

TEST_F(WorkEngineTest, DeletingSendsFilesAndFoldersAwayWithAPauseBeforeEachStep) {
    std::wstring file = At(L"d\\" + Memo);
    std::wstring folder = At(L"d\\\u5f20\u4f1f");
    Put(file, "x");
    Put(JoinPath(folder, Smile), "x");
    Put(JoinPath(folder, L"sub\\" + Cafe), "x");
    Put(JoinPath(folder, L".dot"), "x");
    // A path longer than 256 bytes in CP932 goes the same way.
    std::wstring longName(40, L'\u8868');
    std::wstring deep =
        At(L"d\\" + longName + L"\\" + longName + L"\\" + longName + L"\\" + longName + L".txt");
    Put(deep, "x");
    ASSERT_TRUE(FileExists(deep));
    ASSERT_GT(Narrow(deep).size(), 256u);

    ScriptedProgress progress;
    WorkEngine engine({Operation::Delete, L"", {file, folder, deep}}, progress);
    EXPECT_EQ(engine.stepDelay(), 50u);
    EXPECT_EQ(engine.Run(), WorkResult::Normal);
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_FALSE(FileExists(deep));
    EXPECT_TRUE(progress.questions.empty()) << Narrow(progress.questions.front().text);
    EXPECT_TRUE(progress.ShowedCaption("削除しています..."));
    EXPECT_TRUE(progress.ShowedCaption("ﾌｫﾙﾀﾞを削除しています..."));
    EXPECT_EQ(progress.delays.size(), progress.steps.size());
    for (unsigned delay : progress.delays)
        EXPECT_EQ(delay, 50u);
}

TEST_F(WorkEngineTest, ADeletionTheShellRefusesAsks) {
    std::wstring file = At(Cafe), other = At(Zhang);
    for (int answer : {IDIGNORE, IDABORT}) {
        Put(file, "x");
        Put(other, "y");
        ScriptedProgress progress;
        // The file goes away behind the engine's back just before the shell would take it.
        progress.onDelay = [&] { DeleteFileW(file.c_str()); };
        progress.answers = {answer};
        WorkResult result = RunWork(Operation::Delete, L"", {file, other}, progress);
        ASSERT_EQ(progress.questions.size(), 1u);
        EXPECT_EQ(progress.questions[0].text, file + L"\nﾌｧｲﾙの削除に失敗しました。処理を続行しますか？");
        EXPECT_EQ(result, answer == IDABORT ? WorkResult::Stop : WorkResult::Normal);
        EXPECT_EQ(FileExists(other), answer == IDABORT);
    }
}

// A folder on another volume (Wine's Z: over a tmpfs), removed with everything in it.
class OtherVolume {
public:
    OtherVolume() : path_(L"Z:\\dev\\shm\\lumera-ferrox-" + std::to_wstring(GetCurrentProcessId())) {
        Remove();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~OtherVolume() { Remove(); }
    OtherVolume(const OtherVolume&) = delete;
    OtherVolume& operator=(const OtherVolume&) = delete;
    const std::wstring& path() const { return path_; }
    size_t Entries() const {
        size_t count = 0;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(JoinPath(path_, L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return 0;
        do
            count += found.cFileName[0] != L'.';
        while (FindNextFileW(search, &found));
        FindClose(search);
        return count;
    }

private:
    void Remove() { DeleteTree(path_); }
    std::wstring path_;
};

TEST_F(WorkEngineTest, MovesAcrossVolumesCopyThenRemoveTheSource) {
    OtherVolume other;
    ASSERT_TRUE(DirectoryExists(other.path()));
    std::wstring plain = At(Cafe), readOnly = At(Zhang), replacing = At(Smile);
    Put(plain, "plain");
    Put(readOnly, "read-only");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Put(replacing, "new");
    Put(JoinPath(other.path(), Smile), "old", 100);

    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    EXPECT_EQ(RunWork(Operation::Move, other.path(), {plain, readOnly, replacing}, progress),
              WorkResult::Normal);
    EXPECT_TRUE(progress.questions.empty()) << Narrow(progress.questions.front().text);
    EXPECT_EQ(Content(JoinPath(other.path(), Cafe)), "plain");
    EXPECT_EQ(Content(JoinPath(other.path(), Zhang)), "read-only");
    EXPECT_EQ(Content(JoinPath(other.path(), Smile)), "new");
    EXPECT_FALSE(FileExists(plain));
    EXPECT_FALSE(FileExists(readOnly));
    EXPECT_FALSE(FileExists(replacing));
    EXPECT_EQ(other.Entries(), 3u); // no temporary left beside them
}

TEST_F(WorkEngineTest, AMoveAcrossVolumesThatBreaksOffKeepsTheSourceAndLeavesNoPart) {
    OtherVolume other;
    std::wstring source = At(Memo);
    Text big(1 << 20, 'b');
    Put(source, big);
    Put(JoinPath(other.path(), Memo), "old");
    // Reading stops half-way where another handle holds a lock.
    HANDLE holder = CreateFileW(source.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    OVERLAPPED at = {};
    at.Offset = 512 * 1024;
    ASSERT_TRUE(LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4096, 0, &at));

    EXPECT_FALSE(CopyThenRemoveSource(source, JoinPath(other.path(), Memo), true));
    ScriptedProgress progress;
    progress.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    progress.answers = {IDIGNORE};
    EXPECT_EQ(RunWork(Operation::Move, other.path(), {source}, progress), WorkResult::Normal);
    EXPECT_EQ(progress.Asked(L"ﾌｧｲﾙ移動に失敗しました。"), 1u);
    UnlockFileEx(holder, 0, 4096, 0, &at);
    CloseHandle(holder);
    EXPECT_EQ(Content(source), big);
    EXPECT_EQ(Content(JoinPath(other.path(), Memo)), "old");
    EXPECT_EQ(other.Entries(), 1u);

    // A source held open where it cannot be removed leaves the destination untouched.
    HANDLE reader =
        CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyThenRemoveSource(source, JoinPath(other.path(), Memo), true));
    CloseHandle(reader);
    EXPECT_EQ(Content(source), big);
    EXPECT_EQ(Content(JoinPath(other.path(), Memo)), "old");
    EXPECT_EQ(other.Entries(), 1u);
}

// A drive letter the platform reports as removable, over a folder of the test, defined
// through Wine's mount manager for the test's own prefix and removed again.
class RemovableDrive {
public:
    explicit RemovableDrive(const std::wstring& folder) {
        using Convert = char*(CDECL*)(const wchar_t*);
        auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* unix = convert ? convert(folder.c_str()) : nullptr;
        if (!unix)
            return;
        std::string mountPoint = unix;
        HeapFree(GetProcessHeap(), 0, unix);
        DWORD used = GetLogicalDrives();
        for (wchar_t letter = L'R'; letter <= L'Y' && !letter_; ++letter)
            if (!(used & (1u << (letter - L'A'))) && Define(letter, DRIVE_REMOVABLE, mountPoint))
                letter_ = letter;
    }
    ~RemovableDrive() {
        if (letter_)
            Define(letter_, DRIVE_NO_ROOT_DIR, "");
    }
    RemovableDrive(const RemovableDrive&) = delete;
    RemovableDrive& operator=(const RemovableDrive&) = delete;

    // "R:\", or empty when no drive could be defined.
    std::wstring root() const {
        return letter_ && GetDriveTypeW((std::wstring(1, letter_) + L":\\").c_str()) == DRIVE_REMOVABLE
                   ? std::wstring(1, letter_) + L":\\"
                   : std::wstring();
    }

private:
    // Wine's request to define a drive: the header, then the mount point's Unix path.
    struct Definition {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };
    static bool Define(wchar_t letter, ULONG type, const std::string& mountPoint) {
        HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        std::string buffer(sizeof(Definition) + mountPoint.size() + 1, '\0');
        Definition definition = {};
        definition.size = static_cast<ULONG>(buffer.size());
        definition.type = type;
        definition.letter = static_cast<WCHAR>(towlower(letter));
        definition.mountPointOffset = mountPoint.empty() ? 0 : sizeof(Definition);
        std::memcpy(buffer.data(), &definition, sizeof definition);
        std::memcpy(buffer.data() + sizeof(Definition), mountPoint.c_str(), mountPoint.size());
        DWORD returned = 0;
        BOOL done =
            DeviceIoControl(manager, CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS),
                            buffer.data(), definition.size, nullptr, 0, &returned, nullptr);
        CloseHandle(manager);
        return done;
    }
    wchar_t letter_ = 0;
};

TEST_F(WorkEngineTest, RemovableMediaGetAPauseBeforeEveryStep) {
    ForceDirectories(At(L"media"));
    RemovableDrive drive(At(L"media"));
    std::wstring media = drive.root();
    if (media.empty())
        GTEST_SKIP() << "Wine's mount manager defined no removable drive";
    std::wstring file = At(Cafe), onMedia = JoinPath(media, Zhang);
    Put(file, "x");
    Put(onMedia, "y");
    struct Case {
        Operation operation;
        std::wstring destination, item;
        unsigned delay;
    } cases[] = {
        {Operation::Copy, JoinPath(media, L"\u00e9t\u00e9"), file, 500},
        {Operation::Copy, At(L"out"), onMedia, 0},
        {Operation::Move, At(L"out"), onMedia, 500},
        {Operation::Delete, L"", onMedia, 500},
        {Operation::Delete, media, file, 500},
    };
    for (const Case& c : cases) {
        ScriptedProgress progress;
        WorkEngine engine({c.operation, c.destination, {c.item}}, progress);
        EXPECT_EQ(engine.stepDelay(), c.delay) << Narrow(c.destination) << " " << Narrow(c.item);
    }
    // Every disk step of a copy onto the medium waits: the folder's creation and the file.
    ScriptedProgress progress;
    EXPECT_EQ(RunWork(Operation::Copy, JoinPath(media, L"\u00e9t\u00e9"), {file}, progress),
              WorkResult::Normal);
    EXPECT_EQ(Content(JoinPath(media, L"\u00e9t\u00e9\\" + Cafe)), "x");
    EXPECT_EQ(progress.steps.size(), 2u);
    EXPECT_EQ(progress.delays, (std::vector<unsigned>{500, 500}));
}

TEST_F(WorkEngineTest, StepDelayOnFixedDrives) {
    ScriptedProgress progress;
    for (Operation operation : {Operation::Move, Operation::Copy}) {
        WorkEngine engine({operation, root_, {At(Cafe)}}, progress);
        EXPECT_EQ(engine.stepDelay(), 0u);
    }
    WorkEngine engine({Operation::Delete, root_, {At(Cafe)}}, progress);
    EXPECT_EQ(engine.stepDelay(), 50u);
}

// ---- Links, dot-names, unreadable folders, broken-off overwrites, own parents, dates -------

TEST_F(WorkEngineTest, ALinkIsOneEntryItsTargetIsNeverEnteredOrChanged) {
    // Outside every item: a folder and a file that links inside the items point at.
    std::wstring target = At(L"\u5916"), targetFile = JoinPath(target, Cafe);
    Put(targetFile, "target");
    Put(JoinPath(target, L"inner\\" + Zhang), "deep");
    struct Case {
        const char* what;
        Operation operation;
        std::deque<int> answers; // the link cannot be taken as itself under Wine: Ignore
    } cases[] = {
        {"delete", Operation::Delete, {}},
        {"move", Operation::Move, {IDIGNORE, IDIGNORE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring folder = At(std::string(c.what) == "delete" ? L"d\\\u5f20" : L"m\\\u5f20");
        Put(JoinPath(folder, Memo), "own");
        UnixLink folderLink(JoinPath(folder, L"to folder"), target);
        if (!folderLink.made())
            GTEST_SKIP() << "no Unix-side links here";
        ScriptedProgress progress;
        progress.answers = c.answers;
        RunWork(c.operation, At(L"dst"), {folder}, progress);
        EXPECT_EQ(Content(targetFile), "target");
        EXPECT_EQ(Content(JoinPath(target, L"inner\\" + Zhang)), "deep");
        EXPECT_FALSE(FileExists(JoinPath(folder, Memo)));
        // Nothing of the target was emptied into the destination: there is the link or nothing.
        DWORD landed = GetFileAttributesW(At(L"dst\\\u5f20\\to folder").c_str());
        EXPECT_TRUE(landed == INVALID_FILE_ATTRIBUTES || (landed & FILE_ATTRIBUTE_REPARSE_POINT));
    }
}

TEST_F(WorkEngineTest, AMovedOrDeletedLinkItemLeavesItsTargetWhole) {
    OtherVolume other;
    std::wstring target = At(L"target.txt");
    Put(target, "content");
    std::wstring folderTarget = At(L"t\\" + Cafe);
    Put(folderTarget, "inside");
    struct Case {
        const char* what;
        Operation operation;
        std::wstring destination;
        bool folder;
    } cases[] = {
        // Wine shows Unix links to files as plain files; only folder links can be tried here.
        {"folder link across volumes", Operation::Move, other.path(), true},
        {"folder link deleted", Operation::Delete, L"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring link = At(std::to_wstring(&c - cases) + L"link");
        UnixLink made(link, c.folder ? At(L"t") : target);
        if (!made.made())
            GTEST_SKIP() << "no Unix-side links here";
        ScriptedProgress progress;
        progress.answers = {IDYES, IDIGNORE, IDIGNORE};
        RunWork(c.operation, c.destination, {link}, progress);
        EXPECT_EQ(Content(target), "content");
        EXPECT_EQ(Content(folderTarget), "inside");
        // Either the link itself went, or the user was asked; never a silent copy of the target.
        if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            EXPECT_GE(progress.questions.size(), 1u);
    }
}

TEST_F(WorkEngineTest, ACopyNeverLoopsThroughLinksAndTellsTheUser) {
    std::wstring folder = At(L"p\\\u5f20\u4f1f"), outside = At(L"\u5916");
    Put(JoinPath(folder, Cafe), "own");
    Put(JoinPath(outside, Memo), "outside");
    UnixLink up(JoinPath(folder, L"up"), At(L"p"));   // the item's own parent
    UnixLink self(JoinPath(folder, L"self"), folder); // the item itself
    UnixLink out(JoinPath(folder, L"out"), outside);  // elsewhere: copied as the shell does
    if (!up.made() || !self.made() || !out.made())
        GTEST_SKIP() << "no Unix-side links here";
    ScriptedProgress progress;
    progress.answers = {IDOK, IDOK};
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst"), {folder}, progress), WorkResult::Normal);
    std::wstring landed = At(L"dst\\\u5f20\u4f1f");
    EXPECT_EQ(Content(JoinPath(landed, Cafe)), "own");
    EXPECT_EQ(Content(JoinPath(landed, L"out\\" + Memo)), "outside");
    EXPECT_FALSE(DirectoryExists(JoinPath(landed, L"up\\\u5f20\u4f1f")));
    EXPECT_FALSE(DirectoryExists(JoinPath(landed, L"self\\self")));
    ASSERT_EQ(progress.questions.size(), 2u);
    for (const auto& question : progress.questions) {
        EXPECT_NE(question.text.find(L"ﾘﾝｸ先はｺﾋﾟｰしません。"), std::wstring::npos) << Narrow(question.text);
        EXPECT_EQ(question.style, UINT(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(progress.Asked(JoinPath(folder, L"up") + L"\n"), 1u);
    EXPECT_EQ(progress.Asked(JoinPath(folder, L"self") + L"\n"), 1u);
}

TEST_F(WorkEngineTest, DotNamesAreMovedAndDeletedLikeAnyOtherEntry) {
    const std::wstring names[] = {L".git\\config", L".env", L".gitignore", L".vscode\\" + Cafe};
    std::wstring moved = At(L"m\\project"), deleted = At(L"d\\project");
    for (const std::wstring& name : names) {
        Put(JoinPath(moved, name), "m");
        Put(JoinPath(deleted, name), "d");
    }
    ScriptedProgress move;
    EXPECT_EQ(RunWork(Operation::Move, At(L"dst"), {moved}, move), WorkResult::Normal);
    EXPECT_TRUE(move.questions.empty()) << Narrow(move.questions.front().text);
    EXPECT_FALSE(DirectoryExists(moved));
    for (const std::wstring& name : names)
        EXPECT_EQ(Content(At(L"dst\\project\\" + name)), "m") << Narrow(name);

    ScriptedProgress remove;
    std::vector<std::wstring> recycled;
    remove.onStep = [&](const ScriptedProgress::Step& step) {
        if (step.caption == "削除しています...")
            recycled.push_back(ExtractFileName(step.item));
    };
    EXPECT_EQ(RunWork(Operation::Delete, L"", {deleted}, remove), WorkResult::Normal);
    EXPECT_FALSE(DirectoryExists(deleted));
    std::sort(recycled.begin(), recycled.end());
    EXPECT_EQ(recycled, (std::vector<std::wstring>{L".env", L".gitignore", Cafe, L"config"}));
}

TEST_F(WorkEngineTest, AFolderThatCannotBeListedAsksInsteadOfCopyingItEmpty) {
    struct Case {
        int answer;
        WorkResult result;
        bool copied;
    } cases[] = {{IDRETRY, WorkResult::Normal, true},
                 {IDIGNORE, WorkResult::Normal, false},
                 {IDABORT, WorkResult::Stop, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::wstring run = At(std::to_wstring(c.answer));
        std::wstring folder = JoinPath(run, L"\u5f20\u4f1f"), sub = JoinPath(folder, L"\u00e9t\u00e9");
        Put(JoinPath(sub, Cafe), "x");
        ScriptedProgress progress;
        // Root reads every folder under Wine: the folder is listed as one, then turns into a
        // file before it is read (as a folder taken away between two steps would).
        progress.onStep = [&](const ScriptedProgress::Step& step) {
            if (step.item != JoinPath(run, L"dst\\\u5f20\u4f1f"))
                return;
            DeleteFileW(JoinPath(sub, Cafe).c_str());
            RemoveDirectoryW(sub.c_str());
            Put(sub, "now a file");
        };
        progress.onAsk = [&](const std::wstring&) {
            if (c.answer != IDRETRY)
                return;
            DeleteFileW(sub.c_str());
            Put(JoinPath(sub, Cafe), "x");
        };
        progress.answers = {c.answer};
        EXPECT_EQ(RunWork(Operation::Copy, JoinPath(run, L"dst"), {folder}, progress), c.result);
        ASSERT_EQ(progress.questions.size(), 1u);
        const std::wstring& text = progress.questions[0].text;
        EXPECT_EQ(text.rfind(sub + L"\n", 0), 0u) << Narrow(text);
        EXPECT_NE(text.find(L"\nﾌｫﾙﾀﾞの内容を読み取れませんでした。処理を続行しますか？"),
                  std::wstring::npos);
        EXPECT_GT(text.size(), sub.size() + 40); // the platform's reason between them
        EXPECT_EQ(progress.questions[0].style, UINT(MB_ABORTRETRYIGNORE | MB_ICONSTOP));
        std::wstring landed = JoinPath(run, L"dst\\\u5f20\u4f1f\\\u00e9t\u00e9");
        EXPECT_EQ(FileExists(JoinPath(landed, Cafe)), c.copied);
        EXPECT_EQ(DirectoryExists(landed), c.copied); // never created empty
    }
}

// The entries of a folder but "." and "..".
size_t EntriesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    size_t entries = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        entries += std::wcscmp(found.cFileName, L".") && std::wcscmp(found.cFileName, L"..");
    while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

// A progress window whose long copies run on a thread that is killed part-way, as when
// the program is ended during the copy.
class KilledMidCopy : public ScriptedProgress {
public:
    bool RunBlocking(const std::function<bool()>& operation) override {
        ++blockingRuns;
        HANDLE thread = CreateThread(
            nullptr, 0,
            [](void* job) -> DWORD { return (*static_cast<const std::function<bool()>*>(job))(); },
            const_cast<std::function<bool()>*>(&operation), 0, nullptr);
        if (WaitForSingleObject(thread, 300) == WAIT_TIMEOUT) {
            TerminateThread(thread, 1);
            killed = true;
        }
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        return false;
    }
    bool killed = false;
};

TEST_F(WorkEngineTest, AnOverwriteThatBreaksOffLeavesTheOldFileAsItWas) {
    const Text old = "the old 21-byte file.";
    const DWORD oldAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    std::wstring source = At(L"src\\" + Memo), destination = At(L"dst\\" + Memo);
    Put(destination, old);
    SetFileAttributesW(destination.c_str(), oldAttributes);
    // Big enough to take seconds: a sparse file of 1 GiB.
    ForceDirectories(At(L"src"));
    HANDLE file = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 1LL << 30;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);

    KilledMidCopy killed;
    killed.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    killed.answers = {IDABORT};
    RunWork(Operation::Copy, At(L"dst"), {source}, killed);
    ASSERT_TRUE(killed.killed) << "the copy ended before it could be broken off";
    EXPECT_EQ(Content(destination), old);

    // A copy that fails: the old file keeps its content and attributes, no temporary stays.
    // (Elsewhere: the killed copy's temporary stays open, and listed, until the process ends.)
    destination = At(L"dst2\\" + Memo);
    Put(destination, old);
    SetFileAttributesW(destination.c_str(), oldAttributes);
    source = At(L"src2\\" + Memo); // the killed copy still holds the first
    Put(source, "new");
    HANDLE lock = CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ScriptedProgress failed;
    failed.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    failed.answers = {IDIGNORE};
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst2"), {source}, failed), WorkResult::Normal);
    CloseHandle(lock);
    EXPECT_EQ(failed.Asked(L"ﾌｧｲﾙｺﾋﾟｰに失敗しました。"), 1u);
    EXPECT_EQ(Content(destination), old);
    EXPECT_EQ(GetFileAttributesW(destination.c_str()) & oldAttributes, oldAttributes);
    EXPECT_EQ(EntriesIn(At(L"dst2")), 1u);

    // Complete, it takes the old file's place.
    ScriptedProgress again;
    again.overwriteAnswers.push_back({OverwriteChoice::Overwrite});
    EXPECT_EQ(RunWork(Operation::Copy, At(L"dst2"), {source}, again), WorkResult::Normal);
    EXPECT_EQ(Content(destination), "new");
    EXPECT_EQ(EntriesIn(At(L"dst2")), 1u);
}

TEST_F(WorkEngineTest, AFolderIntoItsOwnParentIsRefusedBeforeAnyStep) {
    std::wstring parent = At(L"\u89aa"), folder = JoinPath(parent, L"\u5f20\u4f1f");
    Put(JoinPath(folder, Cafe), "mine");
    SetFileAttributesW(JoinPath(folder, Cafe).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    for (Operation operation : {Operation::Move, Operation::Copy}) {
        for (const std::wstring& destination : {parent, JoinPath(At(L"\u89aa"), L""), At(L"./\u89aa")}) {
            SCOPED_TRACE(Narrow(destination));
            ScriptedProgress progress;
            progress.answers = {IDOK};
            progress.overwriteAnswers.push_back({OverwriteChoice::Overwrite, true});
            EXPECT_EQ(RunWork(operation, destination, {folder}, progress), WorkResult::Stop);
            ASSERT_EQ(progress.questions.size(), 1u);
            EXPECT_NE(progress.questions[0].text.find(L"\"" + folder + L"\""), std::wstring::npos);
            EXPECT_EQ(progress.questions[0].style, UINT(MB_OK | MB_ICONSTOP));
            EXPECT_TRUE(progress.steps.empty());
            EXPECT_TRUE(progress.overwrites.empty());
        }
    }
    EXPECT_EQ(Content(JoinPath(folder, Cafe)), "mine");
    EXPECT_EQ(GetFileAttributesW(JoinPath(folder, Cafe).c_str()) &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(WorkEngineTest, FoldersKeepTheirDatesAndAttributes) {
    OtherVolume other;
    struct Case {
        const char* what;
        Operation operation;
        std::wstring destination;
    } cases[] = {{"copy", Operation::Copy, At(L"dst")},
                 {"move", Operation::Move, At(L"dst2")},
                 {"move across volumes", Operation::Move, other.path()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring folder = At(std::to_wstring(&c - cases) + L"\\\u5f20\u4f1f");
        std::wstring sub = JoinPath(folder, L"sub");
        Put(JoinPath(sub, Cafe), "x");
        Put(JoinPath(folder, Memo), "y");
        FILETIME old = {0x5c1a0000, 0x01c0a9f0}; // in 2001
        for (const std::wstring& path : {sub, folder}) {
            HANDLE handle =
                CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            ASSERT_NE(handle, INVALID_HANDLE_VALUE);
            ::SetFileTime(handle, &old, &old, &old);
            CloseHandle(handle);
        }
        SetFileAttributesW(sub.c_str(), FILE_ATTRIBUTE_HIDDEN);
        ScriptedProgress progress;
        EXPECT_EQ(RunWork(c.operation, c.destination, {folder}, progress), WorkResult::Normal);
        for (const std::wstring& name : {std::wstring(L"\u5f20\u4f1f"), std::wstring(L"\u5f20\u4f1f\\sub")}) {
            WIN32_FILE_ATTRIBUTE_DATA landed;
            ASSERT_TRUE(
                GetFileAttributesExW(JoinPath(c.destination, name).c_str(), GetFileExInfoStandard, &landed));
            EXPECT_EQ(CompareFileTime(&landed.ftLastWriteTime, &old), 0) << Narrow(name);
            // Wine keeps attributes in extended attributes, which tmpfs may lack.
            if (c.destination != other.path()) {
                EXPECT_EQ((landed.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0, name.size() > 2)
                    << Narrow(name);
            }
        }
        RemoveFolderTree(JoinPath(c.destination, L"\u5f20\u4f1f"));
    }
}

TEST_F(WorkEngineTest, WhereThereIsNoRecycleBinTheUserIsAskedFirst) {
    ForceDirectories(At(L"stick"));
    RemovableDrive drive(At(L"stick"));
    std::wstring stick = drive.root();
    if (stick.empty())
        GTEST_SKIP() << "Wine's mount manager defined no removable drive";
    std::wstring file = JoinPath(stick, Cafe), folder = JoinPath(stick, L"\u5f20\u4f1f");
    Put(file, "x");
    Put(JoinPath(folder, L"sub\\" + Memo), "y");
    ScriptedProgress no;
    no.answers = {IDNO, IDNO};
    EXPECT_EQ(RunWork(Operation::Delete, L"", {file, folder}, no), WorkResult::Normal);
    ASSERT_EQ(no.questions.size(), 2u);
    EXPECT_EQ(no.questions[0].text, file + L"\nごみ箱に移動できないため、完全に削除されます。削除しますか？");
    EXPECT_EQ(no.questions[0].style, UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(no.questions[1].text.rfind(folder + L"\n", 0), 0u);
    EXPECT_EQ(Content(file), "x");
    EXPECT_EQ(Content(JoinPath(folder, L"sub\\" + Memo)), "y");

    ScriptedProgress yes;
    yes.answers = {IDYES, IDYES};
    EXPECT_EQ(RunWork(Operation::Delete, L"", {file, folder}, yes), WorkResult::Normal);
    EXPECT_EQ(yes.questions.size(), 2u);
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(folder));
}

} // namespace
