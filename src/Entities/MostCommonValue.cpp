#include "Entities/MostCommonValue.h"

#include <unordered_map>

namespace Tarnel {

MostCommonValue::MostCommonValue(const std::vector<int>& values)
{
    if (values.empty()) return;
    std::unordered_map<int, std::vector<int>> positionsByValue;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) positionsByValue[values[i]].push_back(i);
    value = values[0];
    indices = positionsByValue[value];
    for (const auto& group : positionsByValue) {
        if (group.second.size() > indices.size()) {
            value = group.first;
            indices = group.second;
        }
    }
}

}  // namespace Tarnel
