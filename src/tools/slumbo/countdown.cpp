#include "countdown.h"

#include <climits>

const char* const PreparingText = "ｽｸﾘｰﾝ ｾｰﾊﾞｰを起動する\n準備をしています。";

std::optional<int> DelayFromParameter(const std::wstring& parameter) {
    size_t at = 0;
    bool negative = false;
    if (at < parameter.size() && (parameter[at] == L'+' || parameter[at] == L'-'))
        negative = parameter[at++] == L'-';
    if (at == parameter.size())
        return std::nullopt;
    long long value = 0;
    for (; at < parameter.size(); ++at) {
        if (parameter[at] < L'0' || parameter[at] > L'9')
            return std::nullopt;
        value = value * 10 + (parameter[at] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

Text CountdownText(int remaining) {
    return "あと " + std::to_string(remaining) + " 秒後に、\nｽｸﾘｰﾝ ｾｰﾊﾞｰを起動します。";
}
