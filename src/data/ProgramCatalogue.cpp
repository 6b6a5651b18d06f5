#include "data/ProgramCatalogue.h"

#include "data/NumberText.h"

namespace trv {

void ProgramCatalogue::applyNames(ProgramNames names) {
    nameOrder_ = std::move(names.nameOrder);
    longLabels_ = std::move(names.longLabels);
    linePosition_.assign(programs_.size(), -1);
    for (size_t position = 0; position < nameOrder_.size() && position < longLabels_.size(); ++position) {
        const int number = nameOrder_[position];
        if (number >= 1 && number <= programCount()) {
            linePosition_[static_cast<size_t>(number - 1)] = static_cast<int>(position);
            programs_[static_cast<size_t>(number - 1)].longLabel = longLabels_[position];
        }
    }
    for (size_t index = 0; index < programs_.size() && index < names.shortLabels.size(); ++index)
        programs_[index].shortLabel = std::move(names.shortLabels[index]);
}

const std::string* ProgramCatalogue::longLabel(long long number) const {
    if (number < 1 || number > programCount() || static_cast<size_t>(number) > linePosition_.size())
        return nullptr;
    const int position = linePosition_[static_cast<size_t>(number - 1)];
    return position < 0 ? nullptr : &longLabels_[static_cast<size_t>(position)];
}

std::vector<std::string> ProgramCatalogue::programListLines(ListOrder order) const {
    std::vector<std::string> lines;
    lines.reserve(longLabels_.size());
    if (order == ListOrder::Numerical) {
        for (int number = 1; number <= programCount(); ++number) {
            if (const std::string* label = longLabel(number)) {
                std::string& line = lines.emplace_back();
                line.reserve(label->size() + 5);
                AppendNumber(line, number, 3);
                line += ' ';
                line += *label;
            }
        }
    } else {
        for (size_t position = 0; position < nameOrder_.size() && position < longLabels_.size(); ++position) {
            std::string& line = lines.emplace_back(longLabels_[position]);
            line += " (";
            AppendNumber(line, nameOrder_[position], 0);
            line += ')';
        }
    }
    return lines;
}

int ProgramCatalogue::programIndexOfLine(ListOrder order, int line) const {
    if (line < 0)
        return -1;
    if (order == ListOrder::Numerical) {
        // The numerical list skips numbers without a long label, as programListLines does.
        int shown = 0;
        for (int number = 1; number <= programCount(); ++number) {
            if (longLabel(number) && shown++ == line)
                return number - 1;
        }
        return -1;
    }
    if (static_cast<size_t>(line) >= nameOrder_.size())
        return -1;
    return nameOrder_[static_cast<size_t>(line)] - 1;
}

bool ProgramCatalogue::setListOrder(ListOrder order) {
    if (order == listOrder_)
        return false;
    listOrder_ = order;
    return true;
}

} // namespace trv
