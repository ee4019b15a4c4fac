#include "part_name_hint.h"

#include "console_output.h"
#include "device_catalogue.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

char Folded(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (Folded(a[i - 1]) != Folded(b[j - 1]))});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::vector<std::string> ClosestPartNames(const std::string& name, size_t count)
{
    std::vector<std::pair<size_t, std::string>> scored;
    for (const DeviceNameList& list : DeviceCatalogue())
        for (size_t i = 0; i < list.count; ++i)
            scored.emplace_back(EditDistance(name, list.names[i]), list.names[i]);
    std::sort(scored.begin(), scored.end());
    std::vector<std::string> names;
    for (size_t i = 0; i < scored.size() && names.size() < count; ++i)
        if (names.empty() || names.back() != scored[i].second)
            names.push_back(scored[i].second);
    return names;
}

void HintClosestPartNames(const std::string& name)
{
    std::string text = "\"" + name + "\" is not a part -device knows; closest:";
    for (const std::string& candidate : ClosestPartNames(name, 3))
        text += " " + candidate;
    PrintHint(text + " (docs/parts.md lists every part; names are case-sensitive)");
}
