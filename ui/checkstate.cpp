#include "checkstate.h"

#include "optionkey.h"

namespace cvarden {

std::optional<Qt::CheckState> CheckStateOf(std::string_view stored)
{
    if (stored.empty() || stored.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    switch (Module1::WholeNumber(stored)) {
    case 0: return Qt::Unchecked;
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return std::nullopt;
    }
}

std::string StoredCheckState(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked: return "0";
    case Qt::Checked: return "1";
    case Qt::PartiallyChecked: return "2";
    }
    return "0";
}

} // namespace cvarden
