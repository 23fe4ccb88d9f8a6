#include "settings_rules.h"

#include <string>

#include "textops.h"

const std::array<SettingsCheckBox, 17>& SettingsCheckBoxTable() {
    static const std::array<SettingsCheckBox, 17> table = {{
        {"壁紙(&B)", "Wall", "Visible", false},
        {"表示位置(&T)", "Wall", "SetVisible", false},
        {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", "Screen", "Visible", false},
        {"使用可否(&T)", "Screen", "SetVisible", false},
        {"即起動(&D)", "Screen", "StartVisible", false},
        {"起動ﾛｺﾞ(&L)", "Logo", "Visible", true},
        {"再起動ﾛｺﾞ(&R)", "Logo", "wVisible", true},
        {"終了ﾛｺﾞ(&E)", "Logo", "sVisible", true},
        {"AUTORUN監視(&A)", "Kickon", "Visible", true},
        {"AUTORUN実行(&R)", "Kickon", "RunVisible", true},
        {"ｲｼﾞｪｸﾄ(&E)", "Kickon", "EjectVisible", true},
        {"実行(&R)", "Run", "Visible", false},
        {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", "Clipboard", "Visible", false},
        {"ｽﾀｰﾄｱｯﾌﾟ(&S)", "StartUp", "Visible", false},
        {"Windowsの終了(&U)", "BootRight", "Visible", false},
        {"画面のﾌﾟﾛﾊﾟﾃｨ(&P)", "OtherSet", "ScreenProVisible", false},
        {"ｽﾌﾟﾗｯｼｭｳｨﾝﾄﾞｳ(&S)", "OtherSet", "SplashVisible", false},
    }};
    return table;
}

int TabIndexFromSetting(long setBarTab) {
    return setBarTab == 2 || setBarTab == 3 ? static_cast<int>(setBarTab) - 1 : 0;
}

int NextEntryNumber(const Text& numberAbove, bool aboveIsHeader) {
    long above = 0;
    if (aboveIsHeader || !TryTextToInt(numberAbove, above) || above < 0)
        above = 0;
    return static_cast<int>(above) + 1;
}

EntryEditEffect EntryEditEffectOf(const Text& value, int row, int rowCount, bool nameEmpty,
                                  bool valueIsFile) {
    EntryEditEffect effect;
    effect.fillName = valueIsFile && nameEmpty;
    effect.appendRow = !value.empty() && row == rowCount - 1;
    return effect;
}

void WriteNumberedList(const std::vector<ListRow>& rows, const Text& contentName,
                       const NumberedListStore& store) {
    int k = 1;
    for (const ListRow& row : CompactList(rows)) {
        Text number = std::to_string(k);
        if (row.name.empty())
            store.remove("Name" + number);
        else
            store.write("Name" + number, row.name);
        store.write(contentName + number, row.content);
        ++k;
    }
    for (;; ++k) {
        Text number = std::to_string(k);
        if (!store.exists(contentName + number))
            break;
        store.remove("Name" + number);
        store.remove(contentName + number);
    }
}
