// How long the tray menu takes to build over many pictures, next to what the platform
// itself needs for the same work measured in the same run: listing the folders and
// appending as many bare items to a pop-up menu. Also the window layer's menu model
// realized with as many items, to tell its own share apart.
//
// The benchmark points the "Wall" (and "Screen") folder lists at scratch folders for the
// run and puts the user's values back afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app.h"
#include "main_form.h"
#include "menu.h"
#include "paths.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/handles.h"

namespace {

constexpr int Folders = 3;
constexpr int Rounds = 5;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename Work> double BestOf(Work work) {
    double best = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

// One registry value of the tray program, as it was before the run; put back on scope exit.
class SavedSetting {
public:
    SavedSetting(const Text& section, const Text& name)
        : key_("Software\\Morivane\\Lumera\\" + section), name_(Widen(name)) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key_).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExW(key, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            data_.resize(size);
            existed_ =
                RegQueryValueExW(key, name_.c_str(), nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
    ~SavedSetting() {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key_).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        if (existed_)
            RegSetValueExW(key, name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
        else
            RegDeleteValueW(key, name_.c_str());
        RegCloseKey(key);
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;

private:
    Text key_;
    std::wstring name_;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
    bool existed_ = false;
};

void MakeFolder(const Text& path) {
    CreateDirectoryW(Widen(path).c_str(), nullptr);
}

// Empty files are enough: the menu looks at names only.
void FillFolders(const std::vector<Text>& folders, int total) {
    for (int i = 0; i < total; ++i) {
        Text file = JoinPath(folders[i % folders.size()], "picture" + std::to_string(i) + ".bmp");
        HANDLE handle = CreateFileW(Widen(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
}

void RemoveFolder(const Text& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(JoinPath(folder, "*")).c_str(), &found));
    if (search) {
        do {
            if (found.cFileName[0] != L'.')
                DeleteFileW((Widen(folder) + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search.get(), &found));
    }
    search.reset();
    RemoveDirectoryW(Widen(folder).c_str());
}

size_t ListFolders(const std::vector<Text>& folders) {
    size_t count = 0;
    for (const Text& folder : folders) {
        WIN32_FIND_DATAW found;
        UniqueFind search(FindFirstFileExW(Widen(JoinPath(folder, "*.bmp")).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!search)
            continue;
        do {
            if (found.cFileName[0] != L'.')
                ++count;
        } while (FindNextFileW(search.get(), &found));
    }
    return count;
}

void AppendBareItems(size_t count) {
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < count; ++i)
        AppendMenuW(menu, MF_STRING, 0x8000 + (i % 0x6000), (L"picture" + std::to_wstring(i)).c_str());
    DestroyMenu(menu);
}

void RealizeModel(size_t count) {
    Menu menu;
    MenuItem& submenu = menu.items().Add("submenu");
    for (size_t i = 0; i < count; ++i)
        submenu.Add("picture" + std::to_string(i), [](MenuItem&) {});
    menu.Realize();
}

// The wallpaper submenu as the tray menu fills it when it first opens.
size_t FillWallpaperSubmenu(Menu& menu, const std::wstring& folderList, const MenuItem::Handler& choice) {
    MenuItem& submenu = menu.items()[0];
    submenu.Clear();
    submenu.Add("(なし)", choice);
    size_t listed = AppendFolderItems(submenu, folderList, {L"*.bmp"}, choice);
    submenu.Add("(その他)", choice);
    return listed;
}

void Measure(TLumeraMainForm& form, const std::vector<Text>& folders, int files) {
    size_t listed = ListFolders(folders); // warms the file system's caches for every figure
    double build = BestOf([&] { form.BuildTrayMenu(); });
    std::wstring folderList = Widen(GetSettingString("Wall", "Path", ""));
    MenuItem::Handler choice = [&form](MenuItem& item) { form.Wall0RightClick(item); };
    Menu wallMenu;
    wallMenu.items().Add("壁紙(&B)");
    size_t items = 0;
    double fill = BestOf([&] { items = FillWallpaperSubmenu(wallMenu, folderList, choice); });
    double list = BestOf([&] { ListFolders(folders); });
    double append = BestOf([&] { AppendBareItems(listed); });
    double realize = BestOf([&] { RealizeModel(listed); });
    double baseline = list + append;
    std::printf("%6d files (%zu listed, %zu wallpaper items)\n", files, listed, items);
    std::printf("  BuildTrayMenu (lists lazily)  %10.1f ms\n", build);
    std::printf("  wallpaper submenu filled      %10.1f ms\n", fill);
    std::printf("  baseline: list folders        %10.1f ms\n", list);
    std::printf("            AppendMenuW items   %10.1f ms\n", append);
    std::printf("            together            %10.1f ms\n", baseline);
    std::printf("  Menu model realized, %6zu items %7.1f ms\n", listed, realize);
    std::printf("  ratio filling / baseline      %10.2f\n", baseline > 0 ? fill / baseline : 0.0);

    // Where the filling spends its time, step by step.
    double remove = 0, scan = 0, rebuild = 0, realizeAgain = 0;
    for (int round = 0; round < Rounds; ++round) {
        FillWallpaperSubmenu(wallMenu, folderList, choice);
        wallMenu.Realize();
        double start = Now();
        wallMenu.items()[0].Clear();
        double removed = Now();
        FillWallpaperSubmenu(wallMenu, folderList, choice);
        double scanned = Now();
        wallMenu.Realize();
        double realized = Now();
        wallMenu.Realize();
        double again = Now();
        remove += removed - start;
        scan += scanned - removed;
        rebuild += realized - scanned;
        realizeAgain += again - realized;
    }
    std::printf("  profile (mean of %d):  delete old items %8.1f ms\n", Rounds, remove / Rounds);
    std::printf("                        scan folders     %8.1f ms\n", scan / Rounds);
    std::printf("                        Menu::Realize    %8.1f ms (again at once: %.1f ms)\n",
                rebuild / Rounds, realizeAgain / Rounds);
    std::fflush(stdout);
}

// Shows the pop-up and ends it at the first timer its loop dispatches: by then the menu is
// on the screen. Gives the milliseconds until then.
double TimeToOpen(Menu& menu, HWND owner) {
    static double opened = 0;
    opened = 0;
    double start = Now();
    SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        opened = Now();
        EndMenu();
    });
    menu.Popup(owner, 10, 10);
    return opened > 0 ? opened - start : -1;
}

// A 30,000-item submenu: as one platform menu, and as the model's lazy submenu, which is
// filled when it opens and shows such a list as chunks.
void MeasureHugeSubmenu(HWND owner) {
    constexpr int Count = 30000;
    double start = Now();
    HMENU one = CreatePopupMenu();
    for (int i = 0; i < Count; ++i)
        AppendMenuW(one, MF_STRING, 0x8000 + static_cast<UINT>(i % 0x6000),
                    (L"picture" + std::to_wstring(i)).c_str());
    double appended = Now() - start;
    DestroyMenu(one);

    Menu menu;
    menu.items().onPopulate = [](MenuItem& root) {
        for (int i = 0; i < Count; ++i)
            root.Add("picture" + std::to_string(i));
    };
    start = Now();
    menu.Realize();
    double realized = Now() - start;
    double firstOpen = TimeToOpen(menu, owner);
    HMENU chunk = GetSubMenu(menu.handle(), 0);
    start = Now();
    MenuCommands::OnInitMenuPopup(chunk);
    double chunkFilled = Now() - start;
    std::printf("%d items in one submenu\n", Count);
    std::printf("  AppendMenuW into one platform menu  %10.1f ms\n", appended);
    std::printf("  lazy submenu: Realize               %10.1f ms\n", realized);
    std::printf("                first opening         %10.1f ms (populate, %d chunks)\n", firstOpen,
                GetMenuItemCount(menu.handle()));
    std::printf("                filling one chunk     %10.1f ms (%d items)\n", chunkFilled,
                GetMenuItemCount(chunk));
    std::fflush(stdout);
}

} // namespace

int main() {
    Application::Initialize(GetModuleHandleW(nullptr), ProductTitle);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    Text root = JoinPath(Narrow(temp), "lumera-menu-bench");
    MakeFolder(root);
    std::vector<Text> folders;
    for (int i = 1; i <= Folders; ++i) {
        folders.push_back(JoinPath(root, "wall" + std::to_string(i)));
        MakeFolder(folders.back());
    }
    Text empty = JoinPath(root, "none");
    MakeFolder(empty);

    {
        SavedSetting wallPath("Wall", "Path"), wallVisible("Wall", "Visible"), screenPath("Screen", "Path");
        Text folderList;
        for (const Text& folder : folders)
            folderList += folder + ";";
        SetSettingString("Wall", "Path", folderList);
        SetSettingInt("Wall", "Visible", 1);
        SetSettingString("Screen", "Path", empty); // only the wallpapers count

        TLumeraMainForm form{InstanceInfo()};
        if (!form.FormCreate()) {
            std::printf("the form could not be created\n");
            return 1;
        }
        std::printf("Tray menu over bitmap files in %d folders (best of %d rounds)\n", Folders, Rounds);
        for (int files : {0, 3000, 10000}) {
            FillFolders(folders, files);
            Measure(form, folders, files);
        }
        MeasureHugeSubmenu(form.handle());
    }

    for (const Text& folder : folders)
        RemoveFolder(folder);
    RemoveFolder(empty);
    RemoveDirectoryW(Widen(root).c_str());
    return 0;
}
